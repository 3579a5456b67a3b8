#pragma once

#include "core/memory_release.h"

#include <utility>

// Gives `thing` back on the release thread. A list of a hundred million rows is twelve thousand
// blocks of 64 KB and a row map of 400 MB: handing that back to the system takes the window's
// thread tens of milliseconds, during which input would wait. Where no thread can be made it
// goes here after all.
template <typename Thing>
void LetGoElsewhere(Thing thing) {
    MemoryRelease::release(std::move(thing));
}
