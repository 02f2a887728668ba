#pragma once
// A macro record for tests: a name, a repeat count and its events in order.
#include "option/macros/macro_list.h"

#include <initializer_list>
#include <string>

namespace gm {

inline MacroRecord Macro(const std::string& name, int repeat,
                         std::initializer_list<MacroEvent> events) {
    MacroRecord r;
    r.SetName(name);
    r.SetRepeat(repeat);
    int i = 0;
    for (const MacroEvent& e : events)
        r.SetEvent(i++, e);
    r.SetCount(i);
    return r;
}

} // namespace gm
