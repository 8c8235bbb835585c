// Shared set-up of the variable-list tests: a named list, an event-18 tap.
#ifndef ZARN_TESTS_RTVARLST_FIXTURE_H
#define ZARN_TESTS_RTVARLST_FIXTURE_H

#include <cstdint>
#include <string>
#include <vector>

#include "zarnutils/rtcontext.h"
#include "zarnutils/rtvarlst.h"

namespace zarn::test {

// One raised change event.
struct ChangeEvent {
    std::string name;
    intptr_t code;
    intptr_t handle;
};

// While alive, records every event 18 raised through the run-time context.
class ChangeTap {
public:
    ChangeTap() {
        rtoevent_create_callbacks(32);
        events().clear();
        rtoevent_set_callback(RTOVARLST_CHANGE_EVENT, &ChangeTap::on_event);
    }
    ~ChangeTap() {
        rtoevent_unset_callback(RTOVARLST_CHANGE_EVENT, &ChangeTap::on_event);
        rtoevent_destroy_callbacks();
    }
    ChangeTap(const ChangeTap &) = delete;
    ChangeTap &operator=(const ChangeTap &) = delete;
    // Events since the last call.
    std::vector<ChangeEvent> take() {
        std::vector<ChangeEvent> out;
        out.swap(events());
        return out;
    }

private:
    static std::vector<ChangeEvent> &events() {
        static std::vector<ChangeEvent> e;
        return e;
    }
    static intptr_t on_event(intptr_t a, intptr_t b, intptr_t c) {
        events().push_back({a ? reinterpret_cast<const char *>(a) : "(null)", b, c});
        return 0;
    }
};

// A list of n items named X1..Xn.
inline rtvarlst_t *named_list(int32_t n, int32_t capacity = -1) {
    rtvarlst_t *l = rtovarlst_create(capacity < 0 ? n : capacity);
    rtovarlst_set_nvar(l, n);
    for (int32_t k = 1; k <= n; ++k) rtovarlst_addvar(l, k, ("X" + std::to_string(k)).c_str());
    return l;
}

}  // namespace zarn::test

#endif
