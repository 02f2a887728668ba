"""Control layouts of every skinned window.

One entry per skin description file: the window's size, its kind (main
dialog, page or pop-up), the texts printed into its artwork and one record
per BUTTONPOS slot:  key: (style, x, y, width, height, label, hover text).

The record's name written into the description file is the label's name
below; its last word tells the gallery which control to put there
("slider", "edit", "list", "picture", "area", "label", "stage", "swatch").
Styles are drawn by draw_skins.py.
"""

# Page area of the main dialog; every page has exactly this size.
PAGE_X, PAGE_Y, PAGE_W, PAGE_H = 212, 92, 608, 424

# Resolution stage control: fixed inner layout, outline "DPI_Window_Mask.bmp".
STAGE_W, STAGE_H = 276, 44

# The picture of the mouse on the buttons page ("Mouse\mouse*.jpg").
MOUSE_X, MOUSE_Y, MOUSE_W, MOUSE_H = 214, 24, 180, 330

# Record button of the macro manager and its six images.
RECORD_X, RECORD_Y, RECORD_W, RECORD_H = 240, 322, 120, 30

THUMB_W, THUMB_H = 13, 15
SLIDER_H = 15

COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (0, 255, 255),
           (255, 0, 255), (255, 255, 0), (255, 255, 255)]
COLOUR_NAMES = ["Red", "Green", "Blue", "Cyan", "Magenta", "Yellow", "White"]


def _row(first_key, style, x, y, w, h, gap, labels, names=None, hovers=None):
    out = {}
    for i, label in enumerate(labels):
        name = names[i] if names else label.title()
        hover = hovers[i] if hovers else ""
        out[first_key + i] = (style, x + i * (w + gap), y, w, h, label, hover, name)
    return out


def _c(style, x, y, w, h, label, name, hover=""):
    return (style, x, y, w, h, label, hover, name)


def main_dialog():
    c = {}
    c[51] = _c("logo", 20, 12, 160, 40, "ORVEX", "Orvex")
    c[10] = _c("min", 758, 18, 28, 22, "", "Minimise", "Minimise the window")
    c[11] = _c("close", 792, 18, 28, 22, "", "Close", "Close without applying")
    c.update(_row(35, "tab", PAGE_X, 52, 116, 34, 7,
                  ["LIGHTING", "SENSITIVITY", "SYSTEM", "ADVANCED", "BUTTONS"],
                  names=["Lighting tab", "Sensitivity tab", "System tab", "Advanced tab", "Buttons tab"]))
    for i in range(5):
        y = 126 + i * 54
        c[5 + i] = _c("selector", 20, y, 40, 40, str(i + 1), "Profile %d" % (i + 1),
                      "Use profile %d" % (i + 1))
        c[15 + i] = _c("namelabel", 70, y + 10, 126, 20, "", "Profile %d name label" % (i + 1),
                       "Name of profile %d" % (i + 1))
    c[1] = _c("button", 20, 416, 85, 28, "NEW", "New profile", "Name a profile and link a game")
    c[4] = _c("button", 111, 416, 85, 28, "EDIT", "Edit profile", "Edit the profile name and game")
    c[2] = _c("button", 20, 452, 85, 28, "IMPORT", "Import", "Load a profile file")
    c[3] = _c("button", 111, 452, 85, 28, "EXPORT", "Export", "Save the profile to a file")
    c[42] = _c("area", PAGE_X, PAGE_Y, PAGE_W, PAGE_H, "", "Page area")
    c[12] = _c("button", 492, 532, 104, 32, "OK", "OK", "Apply and close")
    c[13] = _c("button", 604, 532, 104, 32, "APPLY", "Apply", "Send the settings to the mouse")
    c[14] = _c("button", 716, 532, 104, 32, "CANCEL", "Cancel", "Close without applying")
    texts = [(20, 102, "PROFILES", "head"), (20, 392, "PROFILE FILE", "head"),
             (20, 538, "GAMING MOUSE CONFIGURATION", "small")]
    return dict(size=(840, 580), kind="main", title="", texts=texts, controls=c)


def buttons_page():
    c = {}
    for i in range(15):
        col, row = (0, i) if i < 8 else (1, i - 8)
        x = 16 if col == 0 else 408
        c[20 + i] = _c("caption", x, 34 + row * 38, 184, 26, str(i + 1),
                       "Button %d" % (i + 1), "Choose the function of button %d" % (i + 1))
    c[35] = _c("area", MOUSE_X, MOUSE_Y, MOUSE_W, MOUSE_H, "", "Mouse picture")
    c.update(_row(36, "button", 16, 376, 136, 32, 12,
                  ["NEW PROFILE", "IMPORT", "EXPORT", "EDIT PROFILE"],
                  names=["New profile", "Import", "Export", "Edit profile"]))
    texts = [(16, 10, "BUTTONS 1 - 8", "head"), (408, 10, "BUTTONS 9 - 15", "head"),
             (16, 352, "PROFILE", "head")]
    return dict(size=(PAGE_W, PAGE_H), kind="page", texts=texts, controls=c)


POLLING = ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"]


def advance_page():
    c = _row(2, "radio", 24, 58, 124, 34, 12, POLLING,
             names=["Polling %d" % i for i in range(4)],
             hovers=["Report %s" % p for p in POLLING])
    c[18] = _c("slider", 24, 170, 420, 15, "", "OTG speed slider", "Speed value sent to the mouse")
    c[17] = _c("button", 24, 290, 220, 34, "RESTORE DEFAULTS", "Restore defaults",
               "Reset all five profiles")
    texts = [(24, 28, "POLLING RATE", "head"), (24, 140, "OTG SPEED", "head"),
             (24, 194, "2", "small"), (424, 194, "255", "small"),
             (24, 260, "DEFAULTS", "head"),
             (260, 300, "Every profile back to its factory settings", "note")]
    return dict(size=(PAGE_W, PAGE_H), kind="page", texts=texts, controls=c)


def color_page():
    c = _row(2, "radio", 24, 44, 112, 30, 10, POLLING, names=["Polling %d" % i for i in range(4)])
    c[6] = _c("radio", 24, 120, 80, 30, "ON", "Effect on")
    c[7] = _c("radio", 110, 120, 80, 30, "OFF", "Effect off")
    c[8] = _c("radio", 230, 120, 120, 30, "STEADY", "Steady")
    c[9] = _c("radio", 356, 120, 120, 30, "BREATHING", "Breathing")
    c[10] = _c("check", 24, 196, 150, 22, "SINGLE COLOUR", "Single colour", "Use one colour")
    for i in range(7):
        c[11 + i] = _c("colour", 190 + i * 54, 192, 46, 30, "", COLOUR_NAMES[i] + " colour",
                       COLOUR_NAMES[i])
    c.update(_row(18, "radio", 24, 272, 112, 30, 10, ["SLOW", "MEDIUM", "FAST", "OFF"],
                  names=["Breathing %d" % i for i in range(4)]))
    c.update(_row(22, "radio", 24, 356, 112, 30, 10, ["LOW", "MEDIUM", "HIGH", "OFF"],
                  names=["Intensity %d" % i for i in range(4)]))
    c[26] = _c("button", 24, 392, 180, 26, "RESTORE DEFAULTS", "Restore defaults",
               "Reset all five profiles and the display settings")
    texts = [(24, 16, "POLLING RATE", "head"), (24, 92, "LIGHTING", "head"),
             (230, 92, "EFFECT", "head"), (24, 166, "COLOUR", "head"),
             (24, 244, "BREATHING SPEED", "head"), (24, 328, "LIGHT INTENSITY", "head")]
    return dict(size=(PAGE_W, PAGE_H), kind="page", texts=texts, controls=c)


def sensitivity_page():
    c = {}
    c[2] = _c("check", 440, 58, 150, 22, "LINK X AND Y", "XY link", "Move X and Y together")
    c[3] = _c("slider", 52, 48, 360, SLIDER_H, "", "X sensitivity slider", "X sensitivity")
    c[4] = _c("slider", 52, 84, 360, SLIDER_H, "", "Y sensitivity slider", "Y sensitivity")
    for i in range(6):
        x = 20 if i % 2 == 0 else 312
        y = 150 + (i // 2) * 56
        c[5 + i] = _c("stage", x, y, STAGE_W, STAGE_H, str(i + 1), "CPI %d stage" % (i + 1))
    for i in range(4):
        c[11 + i] = _c("swatch", 20 + i * 146, 352, 110, 15, "STAGE %d" % (i + 1),
                       "Stage %d swatch" % (i + 1), "Indicator colour of stage %d" % (i + 1))
    texts = [(20, 16, "SENSITIVITY", "head"), (26, 47, "X", "label"), (26, 83, "Y", "label"),
             (52, 104, "LOW", "small"), (388, 104, "HIGH", "small"),
             (20, 122, "RESOLUTION STAGES", "head"), (20, 326, "STAGE INDICATOR COLOURS", "head"),
             (20, 384, "Click a colour square to choose the colour of a stage.", "note")]
    return dict(size=(PAGE_W, PAGE_H), kind="page", texts=texts, controls=c)


def system_page():
    c = {}
    c[6] = _c("slider", 24, 58, 300, SLIDER_H, "", "Pointer speed slider", "Pointer speed")
    c[2] = _c("check", 360, 54, 220, 22, "ENHANCED PRECISION", "Acceleration",
              "Pointer acceleration")
    c[5] = _c("slider", 24, 136, 300, SLIDER_H, "", "Double-click slider", "Double-click speed")
    c[8] = _c("slider", 24, 232, 300, SLIDER_H, "", "Wheel lines slider", "Lines per wheel notch")
    c[4] = _c("check", 360, 228, 220, 22, "ONE PAGE PER NOTCH", "Page scroll",
              "Scroll a page per notch")
    c[7] = _c("slider", 24, 300, 300, SLIDER_H, "", "Tilt speed slider", "Tilt scroll speed")
    c[10] = _c("check", 360, 292, 100, 22, "MARK A", "Mark A", "A marker for your own use")
    c[11] = _c("check", 470, 292, 100, 22, "MARK B", "Mark B", "A marker for your own use")
    c[9] = _c("button", 24, 364, 220, 34, "RESTORE DEFAULTS", "Restore defaults",
              "Reset all five profiles")
    texts = [(24, 16, "POINTER", "head"), (24, 36, "POINTER SPEED", "label"),
             (24, 80, "SLOW", "small"), (294, 80, "FAST", "small"),
             (24, 114, "DOUBLE-CLICK SPEED", "label"), (24, 158, "SLOW", "small"),
             (294, 158, "FAST", "small"), (24, 192, "WHEEL", "head"),
             (24, 212, "SCROLL LINES", "label"), (24, 254, "1", "small"), (310, 254, "10", "small"),
             (24, 280, "TILT SCROLL SPEED", "label"), (24, 322, "1", "small"),
             (310, 322, "10", "small"),
             (260, 374, "Every profile back to its factory settings", "note")]
    return dict(size=(PAGE_W, PAGE_H), kind="page", texts=texts, controls=c)


def _popup_frame(c, w, close_key, ok_key, cancel_key, h, ok="OK", cancel="CANCEL"):
    if close_key:
        c[close_key] = _c("close", w - 40, 10, 28, 22, "", "Close", "Close")
    if ok_key:
        c[ok_key] = _c("button", w - 236, h - 50, 104, 32, ok, ok.title())
    if cancel_key:
        c[cancel_key] = _c("button", w - 122, h - 50, 104, 32, cancel, cancel.title())


def cpi_color():
    w, h = 272, 112
    c = {}
    for i in range(7):
        c[5 + i] = _c("cell", 14 + i * 36, 40, 30, 28, "", COLOUR_NAMES[i] + " cell", COLOUR_NAMES[i])
    c[3] = _c("close", w - 34, 8, 24, 20, "", "Close")
    c[1] = _c("button", w - 168, h - 36, 74, 26, "OK", "OK")
    c[2] = _c("button", w - 88, h - 36, 74, 26, "CANCEL", "Cancel")
    return dict(size=(w, h), kind="popup", title="STAGE COLOUR", texts=[], controls=c)


def warning(title, lines, close=True, ok="OK"):
    w, h = 420, 196
    c = {}
    _popup_frame(c, w, 3 if close else 0, 1, 2, h, ok=ok)
    texts = [(92, 62 + i * 22, line, "question") for i, line in enumerate(lines)]
    return dict(size=(w, h), kind="popup", title=title, warn=True, texts=texts, controls=c)


def macro_manager():
    w, h = 640, 440
    c = {}
    c[3] = _c("close", w - 40, 10, 28, 22, "", "Close")
    c[6] = _c("list", 20, 72, 200, 236, "", "Macro list")
    c[4] = _c("button", 20, RECORD_Y, 96, 30, "NEW", "New macro", "Create a macro")
    c[5] = _c("button", 124, RECORD_Y, 96, 30, "DELETE", "Delete macro", "Delete the macro")
    c[11] = _c("list", 240, 72, 380, 236, "", "Event list")
    c[7] = _c("record", RECORD_X, RECORD_Y, RECORD_W, RECORD_H, "RECORD", "Record",
              "Start or stop recording")
    c[8] = _c("check", 376, RECORD_Y + 4, 170, 22, "RECORD DELAYS", "Record delays",
              "Keep the pauses between keys")
    c[9] = _c("check", 240, 366, 96, 22, "REPEAT", "Repeat", "Play the macro several times")
    c[10] = _c("edit", 342, 366, 40, 22, "", "Repeat count edit")
    _popup_frame(c, w, 0, 1, 2, h)
    texts = [(20, 50, "MACROS", "head"), (240, 50, "EVENTS", "head"),
             (390, 369, "TIMES", "label")]
    return dict(size=(w, h), kind="popup", title="MACRO MANAGER", texts=texts, controls=c)


def profile_dialog():
    w, h = 440, 206
    c = {}
    c[1] = _c("edit", 110, 62, 300, 22, "", "Name edit")
    c[2] = _c("edit", 110, 104, 210, 22, "", "Game edit")
    c[3] = _c("button", 332, 101, 78, 28, "BROWSE", "Browse", "Choose the game program")
    _popup_frame(c, w, 6, 4, 5, h)
    texts = [(24, 64, "NAME", "label"), (24, 106, "GAME", "label")]
    return dict(size=(w, h), kind="popup", title="PROFILE", texts=texts, controls=c)


def shortcut_dialog():
    w, h = 420, 236
    c = {}
    c[10] = _c("edit", 40, 82, 340, 24, "", "Key edit")
    c.update(_row(5, "toggle", 40, 124, 79, 28, 8, ["CTRL", "SHIFT", "ALT", "WIN"]))
    _popup_frame(c, w, 4, 2, 3, h)
    texts = [(40, 54, "Press the key on your keyboard, then pick the modifiers.", "note")]
    return dict(size=(w, h), kind="popup", title="KEYBOARD KEY", texts=texts, controls=c)


def launch_dialog():
    w, h = 440, 190
    c = {}
    c[1] = _c("edit", 24, 86, 300, 22, "", "Path edit")
    c[2] = _c("button", 336, 83, 80, 28, "BROWSE", "Browse", "Choose a program or document")
    _popup_frame(c, w, 5, 3, 4, h)
    texts = [(24, 58, "Program or document the button opens:", "note")]
    return dict(size=(w, h), kind="popup", title="RUN PROGRAM", texts=texts, controls=c)


def player_dialog():
    w, h = 400, 190
    c = {}
    c[1] = _c("dropdown", 40, 84, 320, 28, "", "Player", "Choose the media player")
    _popup_frame(c, w, 4, 2, 3, h)
    texts = [(40, 58, "Media player the mouse buttons control:", "note")]
    return dict(size=(w, h), kind="popup", title="MEDIA PLAYER", texts=texts, controls=c)


WINDOWS = {
    "skin_main.ini": main_dialog(),
    "skin_button_page.ini": buttons_page(),
    "skin_advance_page.ini": advance_page(),
    "skin_color_page.ini": color_page(),
    "skin_sensitivity_page.ini": sensitivity_page(),
    "skin_system_page.ini": system_page(),
    "skin_cpi_color.ini": cpi_color(),
    "skin_macro_manager.ini": macro_manager(),
    "skin_profile.ini": profile_dialog(),
    "skin_shortcut.ini": shortcut_dialog(),
    "skin_lanuch_program.ini": launch_dialog(),
    "skin_select_player.ini": player_dialog(),
    "skin_delete_macro_warn.ini": warning("DELETE MACRO", ["Delete the selected macro?",
                                                           "This cannot be undone."], ok="DELETE"),
    "skin_click_warn.ini": warning("LEFT CLICK NEEDED", ["One button must keep Left click.",
                                                         "This change was not made."]),
    "skin_reset_warn.ini": warning("RESTORE DEFAULTS", ["Reset all five profiles to their",
                                                        "factory settings?"]),
    "skin_macro_set_warn.ini": warning("NO MACRO SELECTED", ["Select or create a macro first."],
                                       close=False),
}
