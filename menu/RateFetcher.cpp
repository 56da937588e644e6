// SPDX-License-Identifier: MIT
#include "menu/RateFetcher.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// What the fetching thread and the owner share. The thread holds its own reference, so it may
// outlive the owner (a fetch cannot be cancelled); once the owner is gone it posts nothing.
struct RateFetcher::Shared {
    std::mutex mutex;
    std::condition_variable idle;
    bool running = false;
    bool ownerAlive = true;
    QObject* context = nullptr; // outlives the owner
    Callback callback;
};

RateFetcher::RateFetcher(QObject* context, Callback callback)
    : shared_(std::make_shared<Shared>()) {
    shared_->context = context;
    shared_->callback = std::move(callback);
}

RateFetcher::~RateFetcher() {
    std::lock_guard lock(shared_->mutex);
    shared_->ownerAlive = false;
}

bool RateFetcher::start(const std::string& base) {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->running) return false;
        shared_->running = true;
    }
    std::thread([shared = shared_, base] {
        FetchedRates fetched = FetchRatesFor(base, BaseFallback::ToDollar);
        std::lock_guard lock(shared->mutex);
        shared->running = false;
        shared->idle.notify_all();
        if (!shared->ownerAlive) return;
        // Posted under the lock, so the owner cannot go while the event is being queued; a
        // queued call whose context has been deleted is dropped by Qt.
        QMetaObject::invokeMethod(
            shared->context,
            [weak = std::weak_ptr<Shared>(shared), fetched = std::move(fetched)] {
                if (auto owner = weak.lock(); owner && owner->ownerAlive) owner->callback(fetched);
            },
            Qt::QueuedConnection);
    }).detach();
    return true;
}

bool RateFetcher::isRunning() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->running;
}

bool RateFetcher::waitUntilIdle(std::chrono::milliseconds patience) {
    std::unique_lock lock(shared_->mutex);
    return shared_->idle.wait_for(lock, patience, [this] { return !shared_->running; });
}
