#include "ratesite/RefreshWorker.h"

RefreshWorker::RefreshWorker(RateKeeper& keeper, std::chrono::milliseconds checkEvery)
    : keeper_(keeper), checkEvery_(checkEvery), thread_([this] { loop(); }) {}

RefreshWorker::~RefreshWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RefreshWorker::loop() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, checkEvery_, [this] { return stopping_.load(); })) return;
        }
        keeper_.refreshIfDue(RateKeeper::Clock::now(), stopping_);
    }
}
