#pragma once
// Owner-drawn list of the macro manager (macro names, or the events of one
// macro with an icon per line) with an edit that opens over one line: a
// new macro's name, or a delay typed in place.
#include "skin/window_base_win.h"
#include "win/handles.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace gm::option {

// Posted to the list's parent.
inline constexpr UINT UM_LIST_EDIT_DONE = WM_USER + 500; // 1524: line, list identifier
inline constexpr UINT UM_LIST_RBUTTON = WM_USER + 700;   // 1724: 0, list identifier

class MacroListBox : public skin::WindowBase {
  public:
    MacroListBox();
    ~MacroListBox() override;

    // A visible child list with identifier `listId`, told apart by it in notices.
    bool Create(const RECT& rect, HWND parent, int listId);
    int listId() const { return listId_; }
    void SetColors(COLORREF text, COLORREF highlightText, COLORREF selection, COLORREF background);
    void SetEditFlag(bool on) { editFlag_ = on; }

    int Count() const;
    int Add(const std::string& text, uint32_t item);
    void Insert(int line, const std::string& text, uint32_t item);
    void Delete(int line);
    void Clear();
    std::string Text(int line) const;
    uint32_t Item(int line) const;
    int Selection() const; // -1 when none
    void Select(int line);
    // Scrolls `line` into view.
    void ShowLine(int line);
    void SetTopLine(int line);

    // The edit over `line`: a name (any text, the line's full width) or a
    // number (digits only, right of the icon). Enter keeps the text, Esc
    // removes the line.
    enum class EditKind { Name, Number };
    void BeginEdit(int line, int limit, EditKind kind);
    bool editing() const { return editLine_ >= 0; }
    int editLine() const { return editLine_; }
    HWND editWindow() const;

    // The parent hands its WM_MEASUREITEM and WM_DRAWITEM on; true when they
    // were this list's.
    bool OnOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    static constexpr int kItemHeight = 18;
    static constexpr int kIconWidth = 16;

  protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    class InPlaceEdit;
    void CommitEdit();
    void CancelEdit();
    void EndEdit();
    void Draw(const DRAWITEMSTRUCT& d);
    HBITMAP Icon(uint16_t id);

    HWND parent_ = nullptr;
    int listId_ = 0;
    int hoverLine_ = -1;
    int wheelRest_ = 0; // wheel movement short of a notch
    win::unique_hfont font_;
    bool editFlag_ = false;
    std::unique_ptr<InPlaceEdit> edit_;
    int editLine_ = -1;
    COLORREF text_ = RGB(0, 0, 0), highlightText_ = RGB(255, 255, 255);
    COLORREF selection_ = RGB(14, 200, 249), background_ = RGB(229, 229, 229);
    win::unique_hbrush backgroundBrush_;
    std::map<uint16_t, win::unique_hbitmap> icons_;
};

} // namespace gm::option
