#include "option/macros/macro_manager_dialog_win.h"

#include "option/dialogs/delete_macro_warning.h"
#include "option/dialogs/warning_dialogs_win.h"
#include "option/macros/keyboard_recorder_hook_win.h"
#include "option/macros/macro_store_win.h"
#include "shared/key_mapper_win.h"
#include "shared/lan_strings_win.h"
#include "skin/cool_menu_win.h"
#include "skin/picture_win.h"
#include "skin/skin_messages_win.h"

#include <cstring>

namespace gm::option {
namespace {

constexpr char kIni[] = "skin_macro_manager.ini";
constexpr char kCaption[] = "Marbek Gaming Mouse Macro Manager";
constexpr COLORREF kListBackground = RGB(229, 229, 229);
constexpr COLORREF kSelection = RGB(14, 200, 249);

enum MenuCommand {
    kRecordBefore = 1001,
    kRecordAfter = 1002,
    kInsertDelay = 1003,
    kEditDelay = 1004,
    kDeleteEvent = 1005,
    kFirstMouseCommand = 1020,
    kLastMouseCommand = 1034,
};

// Texts of the language library.
constexpr int kTextRecordBefore = 1053, kTextMouseMenu = 1058, kTextFirstButton = 1059,
              kTextPress = 1064;

constexpr int kNameLimit = 15;
constexpr int kDelayLimit = 20;
constexpr int kRepeatLimit = 3;

} // namespace

uint32_t MacroManagerDialog::SystemClock::Now() const {
    return ::GetTickCount();
}

MacroManagerDialog::MacroManagerDialog(OptionHost& host) : host_(host) {}

MacroManagerDialog::~MacroManagerDialog() {
    // A dialog gone while recording never leaves the keyboard captured.
    if (recorder_.recording())
        KeyboardRecorderHook::Remove();
}

void MacroManagerDialog::SetButtonRecord(const ButtonView& button) {
    std::memcpy(button_.data(), button.data(), kButtonSize);
    haveButton_ = true;
}

int MacroManagerDialog::Run(HWND owner) {
    return RunModal(host_.SkinFolder(), kIni, owner);
}

void MacroManagerDialog::CreateControls(skin::WindowSkin& skin) {
    const auto& sheets = skin.sheets();
    ok_.Create(skin.Record(1), sheets, hwnd());
    cancel_.Create(skin.Record(2), sheets, hwnd());
    close_.Create(skin.Record(3), sheets, hwnd());
    new_.Create(skin.Record(4), sheets, hwnd());
    delete_.Create(skin.Record(5), sheets, hwnd());
    const auto rectOf = [&](int slot) {
        const skin::ControlRecord r = skin.Record(slot);
        return RECT{r.left, r.top, r.right, r.bottom};
    };
    macroList_.Create(rectOf(6), hwnd(), kMacroListId);
    recordRect_ = skin.Record(7);
    record_.Create(recordRect_, hwnd());
    record_.SetHoverText(recordRect_.text);
    SetRecordImages(false);
    recordDelays_.Create(skin.Record(8), sheets, hwnd());
    recordDelays_.SetToggle(true);
    repeat_.Create(skin.Record(9), sheets, hwnd());
    repeat_.SetToggle(true);
    repeatEdit_.Create(rectOf(10), hwnd(), kRepeatEditId, ES_AUTOHSCROLL);
    repeatEdit_.SetNumeric(true);
    eventList_.Create(rectOf(11), hwnd(), kEventListId);
}

bool MacroManagerDialog::OnInitDialog() {
    for (MacroListBox* list : {&macroList_, &eventList_}) {
        list->SetColors(RGB(0, 0, 0), RGB(255, 255, 255), kSelection, kListBackground);
        list->SetEditFlag(true);
    }
    repeatEdit_.SetColors(RGB(0, 0, 0), kListBackground);
    ::SendMessageA(repeatEdit_.hwnd(), EM_LIMITTEXT, kRepeatLimit, 0);
    ::SetWindowTextA(hwnd(), kCaption);

    MacroList& macros = host_.Macros();
    for (std::size_t k = 0; k < macros.size(); ++k)
        macroList_.Add(macros.At(int(k))->Name(), 0);
    current_ = macros.empty() ? -1 : 0;
    if (current_ == 0 && haveButton_) {
        const ButtonView button(button_.data());
        const std::string name = button.Get(btn::MacroName);
        if (button.Get(btn::FunctionType) == fn::Macro && !name.empty()) {
            // The list's own prefix search: from the second line on, the first line last.
            const LRESULT found = ::SendMessageA(macroList_.hwnd(), LB_FINDSTRING, 0,
                                                 reinterpret_cast<LPARAM>(name.c_str()));
            if (found != LB_ERR)
                current_ = int(found);
        }
    }
    macroList_.Select(current_);
    ShowMacro(current_);
    return false;
}

void MacroManagerDialog::ShowMacro(int position) {
    current_ = position;
    const MacroRecord* record = host_.Macros().At(position);
    editor_.Load(record);
    if (record) {
        repeatCount_ = record->Repeat();
        repeatOn_ = record->Repeat() != 0;
    } else {
        repeatCount_ = 1;
        repeatOn_ = false;
    }
    editor_.caretEvent = editor_.count() - 1;
    editor_.caretLine = -1;
    RebuildEvents();
    if (repeatCount_ < 1)
        repeatCount_ = 1;
    ::SetWindowTextA(repeatEdit_.hwnd(), std::to_string(repeatCount_).c_str());
    repeat_.SetLatched(repeatOn_);
}

void MacroManagerDialog::SelectMacro() {
    ShowMacro(macroList_.Selection());
}

void MacroManagerDialog::RebuildEvents() {
    const EventList list = editor_.Rebuild(SystemKeys());
    ::SendMessageA(eventList_.hwnd(), WM_SETREDRAW, FALSE, 0);
    eventList_.Clear();
    for (const EventLine& line : list.lines)
        eventList_.Add(line.text, line.item);
    ::SendMessageA(eventList_.hwnd(), WM_SETREDRAW, TRUE, 0);
    if (list.visible >= 0) {
        ::SendMessageA(eventList_.hwnd(), LB_SETCARETINDEX, WPARAM(list.visible), FALSE);
        eventList_.ShowLine(list.visible);
    }
    ::InvalidateRect(eventList_.hwnd(), nullptr, TRUE);
}

void MacroManagerDialog::Store() {
    editor_.Store(host_.Macros().At(current_));
}

void MacroManagerDialog::StoreRepeat() {
    if (MacroRecord* record = host_.Macros().At(current_))
        record->SetRepeat(repeatOn_ ? repeatCount_ : 1);
}

void MacroManagerDialog::WarnNoMacro() {
    MacroSetWarning().Run(host_.SkinFolder(), hwnd());
}

void MacroManagerDialog::NewMacro() {
    if (macroList_.editing())
        return;
    const int line = macroList_.Add("", 0);
    if (line < 0)
        return;
    macroList_.BeginEdit(line, kNameLimit, MacroListBox::EditKind::Name);
    macroList_.SetTopLine(line);
}

void MacroManagerDialog::AfterMacroRemoved(int removedLine) {
    const int lines = macroList_.Count();
    int position = removedLine;
    if (lines == 0)
        position = -1;
    else if (position >= lines)
        position = lines - 1;
    macroList_.Select(position);
    ShowMacro(position);
}

void MacroManagerDialog::DeleteMacro() {
    const int line = macroList_.Selection();
    if (line < 0)
        return;
    if (DeleteMacroWarning().Run(host_.SkinFolder(), hwnd()) != skin::kDialogOk)
        return;
    macroList_.Delete(line);
    host_.Macros().Remove(line);
    AfterMacroRemoved(line);
}

void MacroManagerDialog::PressRecord() {
    if (!host_.Macros().At(current_)) {
        WarnNoMacro();
        return;
    }
    if (recorder_.recording()) {
        StopRecording();
        return;
    }
    // Record always replaces the whole macro.
    eventList_.Clear();
    editor_.Clear();
    editor_.insertionPoint = -1;
    StartRecording();
}

void MacroManagerDialog::SetRecordImages(bool recording) {
    const std::string folder = host_.SkinFolder();
    const char* names[3] = {"start_record_normal.bmp", "start_record_over.bmp",
                            "start_record_down.bmp"};
    if (recording) {
        names[0] = "stop_record_normal.bmp";
        names[1] = "stop_record_over.bmp";
        names[2] = "stop_record_down.bmp";
    }
    win::unique_hbitmap images[3];
    SIZE size{};
    for (int i = 0; i < 3; ++i)
        skin::LoadPicture(folder + names[i], images[i], size);
    const int w = recordRect_.Width(), h = recordRect_.Height();
    record_.SetImages(0, 0, w, h, images[0].get(), images[1].get(), images[2].get(),
                      images[0].get());
    ::InvalidateRect(record_.hwnd(), nullptr, FALSE);
    ::UpdateWindow(record_.hwnd());
}

void MacroManagerDialog::EnableControls(bool enable) {
    for (skin::SkinButton* b : {&ok_, &cancel_, &close_, &new_, &delete_})
        ::EnableWindow(b->hwnd(), enable);
    ::EnableWindow(macroList_.hwnd(), enable);
    ::EnableWindow(eventList_.hwnd(), enable);
}

void MacroManagerDialog::StartRecording() {
    SetRecordImages(true);
    recorder_.Start();
    // Without the hook no key arrives; pressing Record again leaves the state.
    KeyboardRecorderHook::Install(hwnd());
    EnableControls(false);
    ::SetFocus(hwnd());
}

void MacroManagerDialog::StopRecording() {
    SetRecordImages(false);
    recorder_.Stop();
    KeyboardRecorderHook::Remove();
    EnableControls(true);
    Store();
}

void MacroManagerDialog::OnRecordKey(WPARAM vk, LPARAM flags) {
    const MacroRecorder::KeyResult r =
        recorder_.RecordKey(int(vk), (flags & 0x80) != 0, editor_, SystemKeys());
    if (r == MacroRecorder::KeyResult::Ignored)
        return;
    if (r == MacroRecorder::KeyResult::Full)
        StopRecording();
    RebuildEvents();
}

void MacroManagerDialog::OnEditDone(int line, int listId) {
    if (listId == kMacroListId) {
        std::vector<std::string> lines;
        for (int i = 0; i < macroList_.Count(); ++i)
            lines.push_back(macroList_.Text(i));
        const std::string name(TrimSpaces(macroList_.Text(line)));
        // A duplicate, or a name of spaces only, makes no macro.
        if (name.empty() || IsDuplicateName(lines, line)) {
            macroList_.Delete(line);
            AfterMacroRemoved(line);
            return;
        }
        host_.Macros().AppendName(name);
        ShowMacro(macroList_.Selection());
        return;
    }
    if (listId == kEventListId) {
        const TypedValue d = ParseTypedDelay(eventList_.Text(line));
        if (d.rewrite) {
            const uint32_t item = eventList_.Item(line);
            eventList_.Delete(line);
            eventList_.Insert(line, DelayText(d.value), item);
        }
        if (editedEvent_ >= 0) {
            editor_.SetDelay(editedEvent_, uint16_t(d.value));
            Store();
        }
    }
}

void MacroManagerDialog::OnRepeatEdited() {
    char text[16] = {};
    ::GetWindowTextA(repeatEdit_.hwnd(), text, sizeof text);
    const TypedValue v = ParseRepeatCount(text);
    repeatCount_ = v.value;
    if (v.rewrite)
        ::SetWindowTextA(repeatEdit_.hwnd(), std::to_string(v.value).c_str());
    StoreRepeat();
}

void MacroManagerDialog::ShowEventMenu() {
    const LanguageLibrary& lan = host_.Lan();
    win::unique_hfont font(
        ::CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Arial"));
    skin::CoolMenu menu(font.get());
    skin::CoolMenu mouse(font.get());
    std::array<std::unique_ptr<skin::CoolMenu>, 5> buttons;
    for (int b = 0; b < 5; ++b) {
        buttons[std::size_t(b)] = std::make_unique<skin::CoolMenu>(font.get());
        skin::CoolMenu& sub = *buttons[std::size_t(b)];
        for (int kind = 0; kind < 3; ++kind)
            sub.Append(0, UINT_PTR(kFirstMouseCommand + 3 * b + kind), lan.Get(kTextPress + kind));
        sub.SetWidth(40);
        mouse.Append(sub, lan.Get(kTextFirstButton + b));
    }
    mouse.Append(0, IDOK, "");
    mouse.SetWidth(100);
    menu.Append(0, kRecordBefore, lan.Get(kTextRecordBefore));
    menu.Append(0, kRecordAfter, lan.Get(kTextRecordBefore + 1));
    menu.Append(0, kInsertDelay, lan.Get(kTextRecordBefore + 2));
    menu.Append(mouse, lan.Get(kTextMouseMenu));
    menu.Append(0, kEditDelay, lan.Get(kTextRecordBefore + 3));
    menu.Append(0, kDeleteEvent, lan.Get(kTextRecordBefore + 4));
    menu.SetWidth(120);
    POINT p{};
    ::GetCursorPos(&p);
    ::SetForegroundWindow(hwnd());
    ::TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(), nullptr);
}

void MacroManagerDialog::OnMenuCommand(int command) {
    if (!host_.Macros().At(current_)) {
        WarnNoMacro();
        return;
    }
    const int s = eventList_.Selection();
    const uint32_t item = s >= 0 ? eventList_.Item(s) : 0;
    switch (command) {
    case kRecordBefore:
    case kRecordAfter:
        editor_.SetRecordPosition(s, item, command == kRecordBefore);
        StartRecording();
        return;
    case kInsertDelay:
        if (editor_.InsertDelay(s, item)) {
            RebuildEvents();
            Store();
        }
        return;
    case kEditDelay:
        if (s >= 0 && EventLine::IsDelay(item)) {
            eventList_.BeginEdit(s, kDelayLimit, MacroListBox::EditKind::Number);
            editedEvent_ = EventLine::EventOf(item);
        }
        return;
    case kDeleteEvent:
        if (editor_.DeleteLine(s, item)) {
            Store();
            RebuildEvents();
        }
        return;
    default:
        if (command >= kFirstMouseCommand && command <= kLastMouseCommand &&
            editor_.InsertMouse(command, s, item)) {
            RebuildEvents();
            Store();
        }
        return;
    }
}

void MacroManagerDialog::OnCommand(HWND control, int code) {
    if (control == macroList_.hwnd()) {
        if (code == LBN_SELCHANGE)
            SelectMacro();
        return;
    }
    if (control == ok_.hwnd())
        End(skin::kDialogOk);
    else if (control == cancel_.hwnd() || control == close_.hwnd())
        End(skin::kDialogCancel);
    else if (control == new_.hwnd())
        NewMacro();
    else if (control == delete_.hwnd())
        DeleteMacro();
    else if (control == record_.hwnd())
        PressRecord();
    else if (control == recordDelays_.hwnd())
        recorder_.SetRecordDelays(recordDelays_.latched());
    else if (control == repeat_.hwnd()) {
        repeatOn_ = repeat_.latched();
        StoreRepeat();
    }
}

bool MacroManagerDialog::SwallowsKey(const MSG& msg) const {
    if (SkinDialog::SwallowsKey(msg))
        return true;
    // Space would press the focused button; edits still take it as a character.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.wParam == VK_SPACE &&
        (msg.hwnd == hwnd() || ::IsChild(hwnd(), msg.hwnd))) {
        char name[32] = {};
        ::GetClassNameA(msg.hwnd, name, sizeof name);
        return std::strcmp(name, "GmMacroListEdit") != 0;
    }
    return false;
}

LRESULT MacroManagerDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    LRESULT result = 0;
    if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) &&
        (macroList_.OnOwnerMessage(msg, wp, lp, result) ||
         eventList_.OnOwnerMessage(msg, wp, lp, result)))
        return result;
    if (msg == skin::EditKillFocusMessage()) {
        OnRepeatEdited();
        return 0;
    }
    switch (msg) {
    case UM_RECORD_KEY:
        OnRecordKey(wp, lp);
        return 1;
    case UM_LIST_EDIT_DONE:
        OnEditDone(int(wp), int(lp));
        return 0;
    case UM_LIST_RBUTTON:
        if (recorder_.recording())
            return -1;
        if (lp == kEventListId)
            ShowEventMenu();
        return 0;
    case WM_COMMAND:
        if (lp == 0) {
            const int id = LOWORD(wp);
            if (id == IDOK)
                End(skin::kDialogOk);
            else if (id >= kRecordBefore && id <= kLastMouseCommand)
                OnMenuCommand(id);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (recorder_.recording()) {
            recorder_.Stop();
            KeyboardRecorderHook::Remove();
        }
        break;
    default:
        break;
    }
    return SkinDialog::OnMessage(msg, wp, lp);
}

int OpenMacroManager(OptionHost& host, const ButtonView* button, HWND owner) {
    MacroManagerDialog dialog(host);
    if (button)
        dialog.SetButtonRecord(*button);
    const int result = dialog.Run(owner);
    if (result == skin::kDialogOk) {
        SaveMacroStore(host.InstallDir(), host.Macros());
    } else {
        host.Macros().FreeAll();
        LoadMacroStore(host.InstallDir(), host.Macros());
    }
    return result;
}

} // namespace gm::option
