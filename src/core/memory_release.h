#pragma once

#include <memory>
#include <new>
#include <utility>

// The one thread that gives big things back to the system: a list's blocks, a row map, the
// undo steps a history lets go of. Handing a thing over costs the caller a queue entry, so
// the window's thread never waits for the system to take pages back.
//
// The thread starts with the first hand-over and frees in the order things came. The program
// ends it when the application object goes (a post routine), or else when static objects are
// destroyed; both free what is still queued and join the thread, so no free runs into the end
// of the process. Where no thread can be made, or once it has ended, a thing is freed at once
// by whoever hands it over.
namespace MemoryRelease {

struct Held {
    virtual ~Held() = default;
};

void handOver(std::unique_ptr<Held> held);

// Frees `thing` on the release thread.
template <typename Thing>
void release(Thing thing) {
    struct Holder : Held {
        explicit Holder(Thing&& held) : thing(std::move(held)) {}
        Thing thing;
    };
    std::unique_ptr<Held> holder;
    try {
        holder = std::make_unique<Holder>(std::move(thing));
    } catch (const std::bad_alloc&) {
        return;  // `thing` goes here, which gives memory back rather than asking for it
    }
    handOver(std::move(holder));
}

// Returns once everything handed over before the call is freed: what ran out of memory tries
// again only after what was let go for it is really back with the system.
void waitUntilGone();

// Frees what is queued and ends the thread; later hand-overs are freed at once. The program's
// end calls it.
void finish();

}  // namespace MemoryRelease
