#pragma once
// The icon ids the program knows and the rules that tie them to files and to
// the icon chooser's grid. Ids 0 to 63 are the built-in icons; any other id
// is a custom icon, a PNG named by the id in decimal in the user's "Icons"
// folder. Plain logic: the folder is asked through a callback.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kBuiltInIconCount = 64;
// Custom icons the chooser makes are numbered from here.
constexpr int kFirstAddedIconNumber = 1000;
// Image lists hold one cell per id up to the largest custom id: ids above
// this are left out of them, or a single stray id (65000) would ask for a
// bitmap over a million pixels wide.
constexpr int kMaxImageListIconId = 4095;

// "1000.png" for 1000.
std::string IconFileName(int id);
// Whether a file name has the extension "png" (any letter case).
bool IsIconFileName(const std::string& fileName);
// The leading decimal number of the name (extension ignored), as 16 bits;
// 0 when it does not begin with a digit.
uint16_t IconIdFromFileName(const std::string& fileName);
// The first number from 1000 up whose file the folder does not hold; 0 when
// every 16-bit number is taken.
int NextFreeIconNumber(const std::function<bool(const std::string& fileName)>& exists);
// The paths of a multiple-selection file dialog's buffer: a single full
// path, or a folder followed by file names, each ended by a zero, the list
// by two.
std::vector<std::string> SplitChosenFiles(const char* buffer, size_t size);
// The largest id an image list shows for these custom ids: at least 63, ids
// beyond kMaxImageListIconId left out.
int ImageListLastId(const std::vector<uint16_t>& customIds);
// Built-in ids run down the chooser's grid columns, as in the bitmap strips:
// grid cell i shows id (i / 8) + 8 x (i mod 8), and the mapping is its own
// inverse.
int BuiltInGridCell(int id);

// The icon chooser's state: built-in cells 0-63, then the custom icons in
// their list's order; the selection and the scroll position in rows of 8.
class CIconChooserModel {
public:
    struct Scroll {
        int maxRow = 0;
        int page = 8;
        int position = 0;
        bool enabled = false;
    };

    void SetCustomIds(std::vector<uint16_t> ids) { m_customIds = std::move(ids); }
    const std::vector<uint16_t>& GetCustomIds() const { return m_customIds; }
    int GetTotal() const { return kBuiltInIconCount + static_cast<int>(m_customIds.size()); }

    // A custom id with no icon leaves the selection as it was.
    void SelectIconId(int id);
    int GetSelectedIconId() const;
    int GetSelectedIndex() const { return m_selected; }
    void SetSelectedIndex(int index) { m_selected = index; }
    // Only custom icons can be pointed at for deletion.
    bool CanDeleteSelected() const { return m_selected >= kBuiltInIconCount; }
    // Only icons the chooser made (1000 up) are offered for deletion.
    bool OffersDeletion() const;

    // The range, page and position that keep the selected custom icon in
    // the grid's bottom row; the position kept inside the range.
    Scroll ComputeScroll() const;
    int GetFirstVisible() const { return m_firstVisible; }
    void SetScrollPosition(int row) { m_firstVisible = 8 * row; }

private:
    std::vector<uint16_t> m_customIds;
    int m_selected = 0;
    int m_firstVisible = 0;
};
