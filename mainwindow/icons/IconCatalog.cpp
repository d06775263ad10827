#include "mainwindow/icons/IconCatalog.h"

#include <algorithm>
#include <cctype>

std::string IconFileName(int id) { return std::to_string(id) + ".png"; }

bool IsIconFileName(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return false;
    std::string ext = fileName.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return (char)std::tolower(c); });
    return ext == "png";
}

uint16_t IconIdFromFileName(const std::string& fileName)
{
    // atoi over the name without its extension: digits after a sign count.
    uint32_t value = 0;
    size_t i = 0;
    while (i < fileName.size() && (fileName[i] == ' ' || fileName[i] == '\t')) ++i;
    bool negative = false;
    if (i < fileName.size() && (fileName[i] == '+' || fileName[i] == '-')) negative = fileName[i++] == '-';
    for (; i < fileName.size() && std::isdigit((unsigned char)fileName[i]); ++i)
        value = value * 10 + (uint32_t)(fileName[i] - '0');
    return static_cast<uint16_t>(negative ? 0u - value : value);
}

int NextFreeIconNumber(const std::function<bool(const std::string&)>& exists)
{
    for (int n = kFirstAddedIconNumber; n <= 0xFFFF; ++n)
        if (!exists(IconFileName(n))) return n;
    return 0;
}

std::vector<std::string> SplitChosenFiles(const char* buffer, size_t size)
{
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < size && buffer[i]) {
        const size_t start = i;
        while (i < size && buffer[i]) ++i;
        parts.emplace_back(buffer + start, i - start);
        ++i;
    }
    if (parts.size() <= 1) return parts;
    std::string folder = parts[0];
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    std::vector<std::string> paths;
    for (size_t k = 1; k < parts.size(); ++k) paths.push_back(folder + parts[k]);
    return paths;
}

int ImageListLastId(const std::vector<uint16_t>& customIds)
{
    int last = kBuiltInIconCount - 1;
    for (uint16_t id : customIds)
        if (id <= kMaxImageListIconId) last = std::max(last, (int)id);
    return last;
}

int BuiltInGridCell(int id) { return id / 8 + 8 * (id % 8); }

void CIconChooserModel::SelectIconId(int id)
{
    if (id < kBuiltInIconCount) {
        m_selected = BuiltInGridCell(id);
        return;
    }
    const auto it = std::find(m_customIds.begin(), m_customIds.end(), (uint16_t)id);
    if (it != m_customIds.end()) m_selected = kBuiltInIconCount + (int)(it - m_customIds.begin());
}

int CIconChooserModel::GetSelectedIconId() const
{
    if (m_selected < kBuiltInIconCount) return BuiltInGridCell(m_selected);
    const size_t k = (size_t)(m_selected - kBuiltInIconCount);
    return k < m_customIds.size() ? m_customIds[k] : -1;
}

bool CIconChooserModel::OffersDeletion() const
{
    return CanDeleteSelected() && GetSelectedIconId() >= kFirstAddedIconNumber;
}

CIconChooserModel::Scroll CIconChooserModel::ComputeScroll() const
{
    Scroll s;
    const int rows = (GetTotal() + 7) / 8;
    s.maxRow = rows - 1;
    s.enabled = GetTotal() > kBuiltInIconCount;
    const int wanted = m_selected < kBuiltInIconCount ? 0 : (m_selected - kBuiltInIconCount) / 8 + 1;
    // As the system keeps a scroll bar's position: no further than one page
    // from the end of the range.
    const int highest = std::max(0, s.maxRow - s.page + 1);
    s.position = std::clamp(wanted, 0, highest);
    return s;
}
