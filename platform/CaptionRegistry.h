#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/Environment.h"

namespace rizorivu {

// The user's table of live main-window captions, so that a new start can find the running
// main window by its exact caption, hidden or not, with or without a window system.
//
// A published caption is a listening abstract UNIX socket whose name carries the user id, the
// registry namespace and a hash of the caption; a small thread of the publisher answers every
// connection with the caption text, so that `find` compares the whole caption and a hash
// collision never matches. The socket goes with its process, so a dead window is never found.
// Abstract names are open to every user of the machine, so both sides check the peer's user id:
// another user's socket is never taken for a window, and another user is told no caption.
//
// A publication may also take requests for the running instance (close, show the window): it
// then listens on a second socket, named per slot but not by caption, so that a request reaches
// every live window of the user and namespace, whatever the window's caption or the state of
// the registry. The publisher acknowledges each request it took.
//
// Limits: the table is per network namespace (a container with its own network sees only its
// own windows); a publisher that does not answer within `kAnswerTimeoutMs` counts as absent;
// at most `kSlots` live windows of one namespace can share one caption hash.
class CaptionRegistry {
public:
    static constexpr int kSlots = 16;
    static constexpr int kAnswerTimeoutMs = 2000;
    // The longest caption that can be published; windows show far shorter ones.
    static constexpr std::size_t kMaxCaption = 16 * 1024;

    // What a later start may ask of the running instance.
    enum class Request : char { Exit = 'X', WakeUp = 'W' };
    // Called on the publisher's answering thread for each request taken.
    using RequestHandler = std::function<void(Request)>;

    // A published caption; the window stays findable until the object goes.
    class Publication {
    public:
        Publication(Publication&& other) noexcept;
        Publication& operator=(Publication&& other) noexcept;
        Publication(const Publication&) = delete;
        Publication& operator=(const Publication&) = delete;
        ~Publication();

        const std::string& caption() const { return caption_; }

    private:
        friend class CaptionRegistry;
        Publication(std::string caption, int listenFd, int requestFd, int stopFd,
                    RequestHandler onRequest);
        void close();

        std::string caption_;
        int listenFd_ = -1;
        int requestFd_ = -1;  // listens for requests; -1 when the publication takes none
        int stopFd_ = -1;     // an eventfd that tells the answering thread to end
        std::thread answerer_;
    };

    // Tables with different namespaces never see each other.
    explicit CaptionRegistry(std::string_view nameSpace = {});
    // The namespace is the registry folder that RIZORIVU_REGISTRY_DIR names, if any, so that a
    // test with its own registry also has its own windows.
    static CaptionRegistry fromEnvironment(const Environment& env);

    // Publishes `caption` for as long as the answer lives; nothing when no socket could be
    // bound (all slots taken, or the system refused). To change the caption, publish the new
    // one and drop the old publication.
    // With `onRequest` the publication also takes the requests of later starts.
    std::optional<Publication> publish(std::string_view caption,
                                       RequestHandler onRequest = {}) const;
    // Hands `request` to every live window of this user and namespace that takes requests;
    // answers how many acknowledged it.
    int request(Request request) const;
    // Whether a live window of this user and namespace carries exactly `caption`.
    bool find(std::string_view caption) const;

    // The abstract socket name (without its leading NUL) of `caption` in `slot`; for
    // diagnostics, and for tests that stand in for a foreign or hung publisher.
    std::string socketName(std::string_view caption, int slot) const;
    std::string requestSocketName(int slot) const;

private:
    std::string prefix_;
};

}  // namespace rizorivu
