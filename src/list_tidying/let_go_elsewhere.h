#pragma once

#include <system_error>
#include <thread>
#include <utility>

// Gives `thing` back on a thread of its own. A list of a hundred million rows is twelve thousand
// blocks of 64 KB and a row map of 400 MB: handing that back to the system takes the window's
// thread tens of milliseconds, during which input would wait. Where no thread can be made it
// goes here after all.
template <typename Thing>
void LetGoElsewhere(Thing thing) {
    try {
        std::thread([held = std::move(thing)]() mutable {
            [[maybe_unused]] const auto gone = std::move(held);
        }).detach();
    } catch (const std::system_error&) {
    }
}
