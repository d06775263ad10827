#include "mainwindow/data/WebLoginHandOver.h"

#include <utility>

bool CWebLoginHandOver::Offer(const CString& title, const CString& address)
{
    if (m_ready) return true;
    m_held.push_back(WebLogin{title, address});
    return false;
}

std::vector<WebLogin> CWebLoginHandOver::SetReady()
{
    m_ready = true;
    return std::move(m_held);
}
