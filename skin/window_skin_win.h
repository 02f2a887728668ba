#pragma once
// The skin of one window: its description file, the sheets its controls are
// cut from, its background and its outline. Every skinned window runs the
// same sequence in its create handler:
//
//   WindowSkin skin;                        // a member of the window
//   skin.Begin(hwnd, folder, "skin_x.ini"); // images loaded, window sized
//   button.Create(skin.Record(2), hwnd);    // each control slot ...
//   button.SetImages(skin.sheets(), ...);   // ... with its cut images
//   skin.Finish(hwnd);                      // sheets dropped, outline applied
//
// A missing file, key or image never fails: the bitmap stays empty, the
// window rectangular and the control without images.

#include "skin/control_record.h"
#include "skin/skin_ini_file_win.h"
#include "win/handles.h"

#include <windows.h>

#include <string>

namespace gm::skin {

// The four full-window images controls take their state images from.
struct SkinSheets {
    win::unique_hbitmap normal, over, down, disable;
};

class WindowSkin {
  public:
    // Loads "SCREEN" images of `folder` + `iniName`, then moves the window to
    // (0, 0) with the background's size (keeping its size when there is none).
    void Begin(HWND hwnd, const std::string& folder, const std::string& iniName);
    ControlRecord Record(int slot) const { return ini_.Record(slot); }
    const SkinIniFile& ini() const { return ini_; }
    const SkinSheets& sheets() const { return sheets_; }
    // Drops the sheets and applies the outline from the mask, when there is one.
    void Finish(HWND hwnd);

    // The background copied one to one into `dc`.
    void Paint(HDC dc) const;

    // The normal sheet until Finish, then kept on its own.
    HBITMAP background() const { return background_ ? background_.get() : sheets_.normal.get(); }
    HBITMAP mask() const { return mask_.get(); }
    SIZE size() const { return size_; }
    HRGN region() const { return region_; } // owned by the window once applied

  private:
    SkinIniFile ini_{""};
    SkinSheets sheets_;
    win::unique_hbitmap mask_;
    win::unique_hbitmap background_;
    SIZE size_{0, 0};
    HRGN region_ = nullptr;
};

// Lets a press anywhere in a pop-up's client area drag the window.
void BeginCaptionDrag(HWND hwnd, LPARAM pressPoint);

// Hands the colour requests and change notices of our controls back to them.
// Every parent window procedure calls it first; true means `result` is the
// answer, false that the message goes on to the parent's own handling.
bool ReflectControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Sent back to a control by ReflectControlMessage: the original message plus this.
inline constexpr UINT kReflectBase = WM_APP + 0x2000;

} // namespace gm::skin
