// The page response being served, swapped whole when new rates arrive: a request takes the
// current one and keeps it alive while it writes it, whatever is swapped in meanwhile.
#pragma once

#include "ratesite/PreparedResponse.h"

#include <memory>
#include <mutex>

class RatePageStore {
public:
    std::shared_ptr<const PreparedResponse> current() const {
        std::lock_guard lock(mutex_);
        return page_;
    }
    void publish(std::shared_ptr<const PreparedResponse> page) {
        std::lock_guard lock(mutex_);
        page_ = std::move(page);
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const PreparedResponse> page_;
};
