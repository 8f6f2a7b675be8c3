#pragma once
// A clock fixed at one moment, installed for the lifetime of the object.
#include "store/date.h"

namespace torvane {

class FixedClock : public IClock {
public:
    explicit FixedClock(TDate now, TimeOfDay local = {}, TimeOfDay utc = {})
        : now_(now), local_(local), utc_(utc) {
        SetClock(this);
    }
    ~FixedClock() override { SetClock(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    TDate Now() const override { return now_; }
    TimeOfDay LocalTimeOfDay() const override { return local_; }
    TimeOfDay UtcTimeOfDay() const override { return utc_; }
    void Set(TDate now) { now_ = now; }

private:
    TDate now_;
    TimeOfDay local_;
    TimeOfDay utc_;
};

}  // namespace torvane
