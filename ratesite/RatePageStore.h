// SPDX-License-Identifier: MIT
// The pages being served, swapped whole when new rates arrive: a request takes the current set
// and keeps it alive while it writes its answer, whatever is swapped in meanwhile.
#pragma once

#include "ratesite/RateSitePages.h"

#include <memory>
#include <mutex>

class RatePageStore {
public:
    std::shared_ptr<const RateSitePages> current() const {
        std::lock_guard lock(mutex_);
        return pages_;
    }
    void publish(std::shared_ptr<const RateSitePages> pages) {
        std::lock_guard lock(mutex_);
        pages_ = std::move(pages);
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const RateSitePages> pages_;
};
