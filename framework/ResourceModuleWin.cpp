#include "framework/ResourceModuleWin.h"

#include <atomic>

namespace {
std::atomic<HINSTANCE> g_resourceModule{nullptr};
}

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = g_resourceModule.load();
    return h ? h : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hModule) { g_resourceModule.store(hModule); }
