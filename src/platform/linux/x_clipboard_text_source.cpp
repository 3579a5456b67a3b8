#include "platform/linux/x_clipboard_text_source.h"

#include "core/text_from_utf8_pieces.h"
#include "platform/coarse_clock.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <QGuiApplication>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {
// The owner's silence after which the paste gives up, as long as Qt's clipboard waits.
constexpr qint64 kSilenceLimitMs = 5000;
// While the bytes arrive, the window repaints and answers once a frame; input waits.
constexpr qint64 kFrameMs = 16;
// A property that arrives at once is read 16 MB at a time.
constexpr uint32_t kReadUnits = 4 * 1024 * 1024;
// A huge pasted line comes with room to type at both ends, so the line box need not copy it.
constexpr qsizetype kRoomToType = qsizetype(1) << 20;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

enum class PropertyKind { Text, Incremental, Other };

// One paste: a connection of its own, an unmapped window to receive the selection on, and the
// selection's owner at the other end.
class SelectionTransfer {
  public:
    explicit SelectionTransfer(EventPump& pump)
        : pump_(pump), connection_(xcb_connect(nullptr, &screenNumber_)) {}
    ~SelectionTransfer() { xcb_disconnect(connection_); }
    SelectionTransfer(const SelectionTransfer&) = delete;
    SelectionTransfer& operator=(const SelectionTransfer&) = delete;

    std::optional<QString> read(QClipboard::Mode mode);

  private:
    bool prepare(QClipboard::Mode mode);
    xcb_screen_t* screen() const;
    PropertyKind takeProperty(bool first, qsizetype& bytesRead);
    Reply<xcb_generic_event_t> waitFor(const std::function<bool(xcb_generic_event_t*)>& wanted);
    void letEventsRunWhenDue();
    QString finish();

    EventPump& pump_;
    int screenNumber_ = 0;
    xcb_connection_t* connection_;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t selection_ = XCB_NONE;
    xcb_atom_t utf8_ = XCB_NONE;
    xcb_atom_t incremental_ = XCB_NONE;
    xcb_atom_t property_ = XCB_NONE;
    quint32 announcedBytes_ = 0;
    qint64 lastEventsRunMs_ = CoarseMonotonicMilliseconds();
    TextFromUtf8Pieces text_{kRoomToType};
};

xcb_screen_t* SelectionTransfer::screen() const {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber_) {
            return it.data;
        }
    }
    return nullptr;
}

bool SelectionTransfer::prepare(QClipboard::Mode mode) {
    if (xcb_connection_has_error(connection_) != 0) {
        return false;
    }
    const xcb_screen_t* root = screen();
    if (root == nullptr) {
        return false;
    }
    const QByteArrayList names{mode == QClipboard::Clipboard ? "CLIPBOARD" : "PRIMARY",
                               "UTF8_STRING", "INCR", "QUORVANE_PASTE"};
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const QByteArray& name : names) {
        cookies.push_back(xcb_intern_atom(connection_, 0, uint16_t(name.size()), name.data()));
    }
    xcb_atom_t* atoms[] = {&selection_, &utf8_, &incremental_, &property_};
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection_, cookies[i], nullptr));
        if (!reply) {
            return false;
        }
        *atoms[i] = reply->atom;
    }
    window_ = xcb_generate_id(connection_);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    return true;
}

std::optional<QString> SelectionTransfer::read(QClipboard::Mode mode) {
    if (!prepare(mode)) {
        return std::nullopt;
    }
    Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, selection_), nullptr));
    if (!owner) {
        return std::nullopt;
    }
    if (owner->owner == XCB_NONE) {
        return QString();
    }
    xcb_convert_selection(connection_, window_, selection_, utf8_, property_, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    const Reply<xcb_generic_event_t> notified = waitFor([this](xcb_generic_event_t* event) {
        const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
        return (event->response_type & 0x7F) == XCB_SELECTION_NOTIFY &&
               notify->requestor == window_;
    });
    // No answer, or the owner has no UTF-8 text: Qt's clipboard knows the other forms.
    if (!notified ||
        reinterpret_cast<xcb_selection_notify_event_t*>(notified.get())->property == XCB_NONE) {
        return std::nullopt;
    }
    qsizetype bytesRead = 0;
    switch (takeProperty(true, bytesRead)) {
        case PropertyKind::Text:
            return finish();
        case PropertyKind::Other:
            return std::nullopt;
        case PropertyKind::Incremental:
            break;
    }
    // The owner sends the text a piece at a time, each once the last is deleted; an empty
    // piece ends it.
    text_.expect(announcedBytes_);
    for (;;) {
        const Reply<xcb_generic_event_t> changed = waitFor([this](xcb_generic_event_t* event) {
            const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event);
            return (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
                   change->window == window_ && change->atom == property_ &&
                   change->state == XCB_PROPERTY_NEW_VALUE;
        });
        if (!changed) {
            return std::nullopt;
        }
        const qsizetype before = bytesRead;
        if (takeProperty(false, bytesRead) != PropertyKind::Text) {
            return std::nullopt;
        }
        if (bytesRead == before) {
            return finish();
        }
        // Pieces that are already waiting leave no pause to run events in.
        letEventsRunWhenDue();
    }
}

PropertyKind SelectionTransfer::takeProperty(bool first, qsizetype& bytesRead) {
    uint32_t offset = 0;
    for (;;) {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window_, property_,
                                                    XCB_GET_PROPERTY_TYPE_ANY, offset, kReadUnits),
                                   nullptr));
        if (!reply) {
            return PropertyKind::Other;
        }
        const int length = xcb_get_property_value_length(reply.get());
        const char* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const bool whole = reply->bytes_after == 0;
        if (whole) {
            // Deleting asks an incremental owner for its next piece, sent while this one is
            // decoded.
            xcb_delete_property(connection_, window_, property_);
            xcb_flush(connection_);
        }
        if (first && reply->type == incremental_) {
            // A lower bound of the size, which some owners leave out.
            if (reply->format == 32 && length >= 4) {
                announcedBytes_ = *reinterpret_cast<const quint32*>(value);
            }
            return whole ? PropertyKind::Incremental : PropertyKind::Other;
        }
        // Some owners end an incremental transfer with an empty piece of another type.
        const bool endOfPieces = !first && offset == 0 && length == 0;
        if (!endOfPieces && (reply->type != utf8_ || reply->format != 8)) {
            return PropertyKind::Other;
        }
        if (first && offset == 0) {
            text_.expect(length + qsizetype(reply->bytes_after));
        }
        text_.append(QByteArrayView(value, length));
        bytesRead += length;
        if (whole) {
            return PropertyKind::Text;
        }
        offset += uint32_t(length) / 4;
        letEventsRunWhenDue();
    }
}

Reply<xcb_generic_event_t> SelectionTransfer::waitFor(
    const std::function<bool(xcb_generic_event_t*)>& wanted) {
    const qint64 start = CoarseMonotonicMilliseconds();
    for (;;) {
        while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
            if (wanted(event.get())) {
                return event;
            }
        }
        const qint64 waited = CoarseMonotonicMilliseconds() - start;
        if (xcb_connection_has_error(connection_) != 0 || waited >= kSilenceLimitMs) {
            return nullptr;
        }
        letEventsRunWhenDue();
        pollfd socket{xcb_get_file_descriptor(connection_), POLLIN, 0};
        ::poll(&socket, 1, int(std::min(kFrameMs, kSilenceLimitMs - waited)));
    }
}

void SelectionTransfer::letEventsRunWhenDue() {
    const qint64 now = CoarseMonotonicMilliseconds();
    if (now - lastEventsRunMs_ >= kFrameMs) {
        // Typing now would land before the pasted text: keys and clicks wait for the paste.
        pump_.pendingEventsExceptInput();
        lastEventsRunMs_ = CoarseMonotonicMilliseconds();
    }
}

QString SelectionTransfer::finish() {
    QString text = text_.take();
    // Some owners end their text with a NUL byte, which Qt's clipboard drops too.
    if (text.endsWith(QChar(0))) {
        text.chop(1);
    }
    return text;
}
}  // namespace

std::optional<QString> XClipboardTextSource::text(QClipboard::Mode mode) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return std::nullopt;
    }
    // What this program offers itself, Qt hands over from memory.
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const bool ownOffer = mode == QClipboard::Clipboard   ? clipboard->ownsClipboard()
                          : mode == QClipboard::Selection ? clipboard->ownsSelection()
                                                          : true;
    if (ownOffer) {
        return std::nullopt;
    }
    SelectionTransfer transfer(pump_);
    return transfer.read(mode);
}
