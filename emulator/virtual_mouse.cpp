#include "emulator/virtual_mouse.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace gm::emu {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

CommandResult Fail(const std::string& text) {
    return {false, text, {}, false};
}

constexpr const char* kHelp =
    "commands: press N | release N | click N (buttons 1-15) | profile [P] (1-5) |\n"
    "  event CLASS VALUE | unplug | plug | replug | busy N | failset | failget | silent on|off |\n"
    "  unplugafter N | slow MS | short N | clearfaults | state | dump | log | reset | quit |\n"
    "  hid [mouse VID PID PAGE [FEATURE INPUT] | add VID PID PAGE USAGE [FEATURE INPUT] |\n"
    "       remove ID | input ID BYTE...]";

} // namespace

std::optional<uint32_t> ParseNumber(const std::string& text, uint32_t max) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t v = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (std::size_t i = 2; i < text.size(); ++i) {
            const char c = text[i];
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0)
                return std::nullopt;
            v = v * 16 + uint64_t(d);
        }
    } else {
        for (char c : text) {
            if (c < '0' || c > '9')
                return std::nullopt;
            v = v * 10 + uint64_t(c - '0');
        }
    }
    if (v > max)
        return std::nullopt;
    return uint32_t(v);
}

VirtualMouse::VirtualMouse(std::function<uint64_t()> clockMs) : clock_(std::move(clockMs)) {}

void VirtualMouse::Log(char kind, bool ok, const uint8_t* data, std::size_t length) {
    if (log_.size() == kLogCapacity)
        log_.pop_front();
    log_.push_back({clock_(), kind, ok, std::vector<uint8_t>(data, data + length)});
}

std::vector<Notification> VirtualMouse::PlugChange(bool plugged) {
    const uint8_t b = plugged ? 1 : 0;
    Log('P', true, &b, 1);
    return {Notification{Notification::Plug, 0, 0, plugged}};
}

std::vector<Notification> VirtualMouse::Emit(const Outcome& outcome) {
    std::vector<Notification> notes;
    for (const Event& e : outcome.events) {
        const uint8_t bytes[4] = {uint8_t(e.cls), uint8_t(e.cls >> 8), uint8_t(e.value),
                                  uint8_t(e.value >> 8)};
        Log('E', true, bytes, sizeof bytes);
        notes.push_back({Notification::DeviceEvent, e.cls, e.value, true});
    }
    return notes;
}

ReportResult VirtualMouse::Set(const uint8_t* data, std::size_t length) {
    if (firmware_.faults().silent) {
        Log('S', false, data, length);
        return {Reply::Silent, {}};
    }
    const bool wasPlugged = firmware_.plugged();
    const bool ok = firmware_.SetFeature(data, length);
    Log('S', ok, data, length);
    if (ok)
        flashChanged_ = true;
    ReportResult r{ok ? Reply::Ok : Reply::Refused, {}, firmware_.faults().slowMs};
    if (wasPlugged && !firmware_.plugged())
        r.notes = PlugChange(false);
    return r;
}

ReportResult VirtualMouse::Get(uint8_t* data, std::size_t length) {
    if (firmware_.faults().silent) {
        Log('G', false, data, length > 0 ? 1 : 0);
        return {Reply::Silent, {}};
    }
    const bool wasPlugged = firmware_.plugged();
    const bool ok = firmware_.GetFeature(data, length);
    Log('G', ok, data, ok ? length : (length > 0 ? 1 : 0));
    ReportResult r{ok ? Reply::Ok : Reply::Refused, {}, firmware_.faults().slowMs};
    if (wasPlugged && !firmware_.plugged())
        r.notes = PlugChange(false);
    int& cut = firmware_.faults().shortNextGet;
    if (ok && cut >= 0) {
        r.answerLength = std::min(length, std::size_t(cut));
        cut = -1;
    }
    return r;
}

bool VirtualMouse::TakeFlashChanged() {
    const bool changed = flashChanged_;
    flashChanged_ = false;
    return changed;
}

std::string VirtualMouse::StateLine() const {
    const Firmware& f = firmware_;
    char line[160];
    std::snprintf(line, sizeof line, "%s profile %d stage %d sensitivity %d/%d polling %d",
                  f.plugged() ? "plugged" : "unplugged", f.flash().activeProfile + 1,
                  f.ActiveStage() + 1, f.SensitivityX(), f.SensitivityY(), f.PollingRate());
    return line;
}

std::string VirtualMouse::LogText() const {
    std::string out;
    char head[48];
    for (const LogEntry& e : log_) {
        const char* kind = e.kind == 'S'   ? "set"
                           : e.kind == 'G' ? "get"
                           : e.kind == 'E' ? "event"
                                           : "plug";
        std::snprintf(head, sizeof head, "%10.3f %-5s %-4s", double(e.ms) / 1000.0, kind,
                      e.ok ? "ok" : "fail");
        out += head;
        for (uint8_t b : e.bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", b);
            out += hex;
        }
        out += '\n';
    }
    return out;
}

CommandResult VirtualMouse::Execute(const std::string& line) {
    const std::vector<std::string> w = Words(line);
    if (w.empty())
        return Fail("empty command\n" + std::string(kHelp));
    const std::string& cmd = w[0];
    auto arg = [&](std::size_t i, uint32_t max) -> std::optional<uint32_t> {
        return i < w.size() ? ParseNumber(w[i], max) : std::nullopt;
    };

    if (cmd == "press" || cmd == "release" || cmd == "click") {
        const auto n = arg(1, 15);
        if (w.size() != 2 || !n || *n == 0)
            return Fail("button must be 1-15");
        if (!plugged())
            return Fail("the mouse is unplugged");
        CommandResult r;
        std::vector<std::string> actions;
        auto run = [&](const Outcome& o) {
            auto notes = Emit(o);
            r.notes.insert(r.notes.end(), notes.begin(), notes.end());
            actions.push_back(o.action);
        };
        if (cmd != "release")
            run(firmware_.Press(int(*n)));
        if (cmd != "press")
            run(firmware_.Release(int(*n)));
        for (const auto& a : actions)
            r.text += (r.text.empty() ? "" : "; ") + a;
        flashChanged_ = true;
        return r;
    }
    if (cmd == "profile") {
        if (!plugged())
            return Fail("the mouse is unplugged");
        int target = (firmware_.flash().activeProfile + 1) % kProfiles;
        if (w.size() == 2) {
            const auto p = arg(1, 5);
            if (!p || *p == 0)
                return Fail("profile must be 1-5");
            target = int(*p) - 1;
        } else if (w.size() > 2) {
            return Fail("profile takes one number, 1-5");
        }
        CommandResult r;
        r.notes = Emit(firmware_.SwitchProfile(target));
        r.text = "profile " + std::to_string(target + 1);
        flashChanged_ = true;
        return r;
    }
    if (cmd == "event") {
        const auto cls = arg(1, 0xFFFF);
        const auto value = arg(2, 0xFFFF);
        if (w.size() != 3 || !cls || !value)
            return Fail("event CLASS VALUE, each 0-0xFFFF");
        Outcome o;
        o.events.push_back({uint16_t(*cls), uint16_t(*value)});
        return {true, "sent", Emit(o), false};
    }
    if (cmd == "unplug" || cmd == "plug") {
        const bool want = cmd == "plug";
        if (plugged() == want)
            return {true, want ? "already plugged" : "already unplugged", {}, false};
        firmware_.set_plugged(want);
        return {true, cmd + "ged", PlugChange(want), false};
    }
    if (cmd == "replug") {
        // Pulled and back at once: whatever the host had open is gone, and
        // the mouse is there again before the host can look.
        if (!plugged())
            return Fail("the mouse is unplugged");
        firmware_.set_plugged(false);
        CommandResult r{true, "replugged", PlugChange(false), false};
        firmware_.set_plugged(true);
        auto back = PlugChange(true);
        r.notes.insert(r.notes.end(), back.begin(), back.end());
        return r;
    }
    if (cmd == "busy") {
        const auto n = arg(1, 1000);
        if (w.size() != 2 || !n)
            return Fail("busy N (0-1000)");
        firmware_.faults().busyPolls = int(*n);
        return {true, "next " + w[1] + " status polls answer busy", {}, false};
    }
    if (cmd == "failset" || cmd == "failget") {
        (cmd == "failset" ? firmware_.faults().failNextSet : firmware_.faults().failNextGet) = true;
        return {true, "the next " + cmd.substr(4) + " report fails", {}, false};
    }
    if (cmd == "silent") {
        if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
            return Fail("silent on|off");
        firmware_.faults().silent = w[1] == "on";
        return {true, w[1] == "on" ? "reports go unanswered" : "reports are answered", {}, false};
    }
    if (cmd == "unplugafter") {
        const auto n = arg(1, 100000);
        if (w.size() != 2 || !n)
            return Fail("unplugafter N");
        firmware_.faults().unplugAfter = int(*n);
        return {true, "the mouse is pulled at report " + w[1] + " from now", {}, false};
    }
    if (cmd == "slow") {
        const auto ms = arg(1, 10000);
        if (w.size() != 2 || !ms)
            return Fail("slow MS (0-10000)");
        firmware_.faults().slowMs = unsigned(*ms);
        return {true, "reports are answered " + w[1] + " ms late", {}, false};
    }
    if (cmd == "short") {
        const auto n = arg(1, kMaxHidReport);
        if (w.size() != 2 || !n)
            return Fail("short N (0-1024)");
        firmware_.faults().shortNextGet = int(*n);
        return {true, "the next get is answered with " + w[1] + " bytes", {}, false};
    }
    if (cmd == "hid") {
        HidInterfaces::Result h = hid_.Execute(std::vector<std::string>(w.begin() + 1, w.end()));
        CommandResult r{h.ok, h.text, {}, false};
        for (HidInput& in : h.inputs)
            r.notes.push_back({Notification::RawInput, 0, 0, true, std::move(in)});
        return r;
    }
    if (cmd == "clearfaults") {
        firmware_.faults() = Faults{};
        return {true, "faults cleared", {}, false};
    }
    if (cmd == "state")
        return {true, StateLine(), {}, false};
    if (cmd == "dump")
        return {true, firmware_.Dump(), {}, false};
    if (cmd == "log")
        return {true, LogText(), {}, false};
    if (cmd == "reset") {
        firmware_.FactoryReset();
        flashChanged_ = true;
        return {true, "factory settings restored", {}, false};
    }
    if (cmd == "quit")
        return {true, "bye", {}, true};
    if (cmd == "help")
        return {true, kHelp, {}, false};
    return Fail("unknown command '" + cmd + "'\n" + kHelp);
}

} // namespace gm::emu
