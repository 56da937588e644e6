// SPDX-License-Identifier: MIT
#include "ratesite/RefreshWorker.h"

RefreshWorker::RefreshWorker(RateKeeper& keeper, std::chrono::milliseconds checkEvery,
                             FirstCheck first)
    : keeper_(keeper), checkEvery_(checkEvery), checkAtOnce_(first == FirstCheck::AtOnce),
      thread_([this] { loop(); }) {}

RefreshWorker::~RefreshWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RefreshWorker::loop() {
    if (checkAtOnce_) keeper_.refreshIfDue(RateKeeper::Clock::now(), stopping_);
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, checkEvery_, [this] { return stopping_.load(); })) return;
        }
        keeper_.refreshIfDue(RateKeeper::Clock::now(), stopping_);
    }
}
