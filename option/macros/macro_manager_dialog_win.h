#pragma once
// The macro manager: the list of macro names, the events of the selected
// macro, recording from the keyboard, the event menu, and the repeat
// toggle with its count. It edits the host's macro library in place; the
// opener keeps the edits after OK and reloads the store otherwise
// (OpenMacroManager does both).
#include "option/macros/macro_editor.h"
#include "option/macros/macro_list_box_win.h"
#include "option/macros/macro_recorder.h"
#include "option/option_host_win.h"
#include "skin/bitmap_edit_win.h"
#include "skin/skin_button_win.h"
#include "skin/skin_dialog_win.h"

#include <array>
#include <cstdint>

namespace gm::option {

class MacroManagerDialog : public skin::SkinDialog {
  public:
    explicit MacroManagerDialog(OptionHost& host);
    ~MacroManagerDialog() override;

    // The button being configured: a macro button opens on its macro.
    void SetButtonRecord(const ButtonView& button);

    // kDialogOk or kDialogCancel.
    int Run(HWND owner);

    static constexpr int kMacroListId = 4096;
    static constexpr int kEventListId = 4097;
    static constexpr int kRepeatEditId = 4010;

  protected:
    void CreateControls(skin::WindowSkin& skin) override;
    bool OnInitDialog() override;
    void OnCommand(HWND control, int code) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    bool SwallowsKey(const MSG& msg) const override;

  private:
    class SystemClock final : public TickClock {
      public:
        uint32_t Now() const override;
    };

    void ShowMacro(int position);
    void SelectMacro();
    void RebuildEvents();
    void Store();
    void StoreRepeat();
    void NewMacro();
    void DeleteMacro();
    void PressRecord();
    void StartRecording();
    void StopRecording();
    void SetRecordImages(bool recording);
    void EnableControls(bool enable);
    void OnRecordKey(WPARAM vk, LPARAM flags);
    void OnEditDone(int line, int listId);
    void OnRepeatEdited();
    void ShowEventMenu();
    void OnMenuCommand(int command);
    void AfterMacroRemoved(int removedLine);
    void WarnNoMacro();

    OptionHost& host_;
    std::array<uint8_t, kButtonSize> button_{};
    bool haveButton_ = false;

    SystemClock clock_;
    MacroRecorder recorder_{clock_};
    MacroEditor editor_;

    skin::SkinButton ok_, cancel_, close_, new_, delete_, record_, recordDelays_, repeat_;
    skin::BitmapEdit repeatEdit_;
    MacroListBox macroList_, eventList_;
    skin::ControlRecord recordRect_{};

    int current_ = -1; // position in the macro list and the library, -1: none
    bool repeatOn_ = false;
    int repeatCount_ = 1;
    int editedEvent_ = -1;
};

// Runs the manager for `button` (may be null) and keeps or drops its edits:
// the store is saved after OK and reloaded from the file otherwise.
int OpenMacroManager(OptionHost& host, const ButtonView* button, HWND owner);

} // namespace gm::option
