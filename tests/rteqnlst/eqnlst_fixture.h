// Shared by the equation-list tests: a small list with a prefixed window.
#ifndef ZARN_TESTS_RTEQNLST_FIXTURE_H
#define ZARN_TESTS_RTEQNLST_FIXTURE_H

#include <cstdio>
#include <string>

#include "hostile.h"
#include "zarnutils/rteqnlst.h"

namespace zarn::test {

// A head EQ1..EQn of capacity n + 1 and, when n >= 3, a window "W." over its equations 2..3.
struct World {
    rtattrdict_t *list;
    rtattrdict_t *window;
    explicit World(int32_t n = 3) : list(rtoeqnlst_create(n + 1)), window(nullptr) {
        rtoeqnlst_set_neqn(list, n);
        for (int32_t k = 1; k <= n; ++k) rtoeqnlst_addeqn(list, k, ("EQ" + std::to_string(k)).c_str());
        if (n < 3) return;
        window = rtoeqnlst_create_embedded(2, list, "W.", 2);
        rtoeqnlst_set_neqn(window, 2);
    }
    ~World() {
        rtoeqnlst_destroy(&window);
        rtoeqnlst_destroy(&list);
    }
};

// Numbers and texts joined by blanks.
inline std::string str(double x) {
    char b[32];
    std::snprintf(b, sizeof b, "%.12g", x);
    return b;
}
inline std::string str(const char *s) { return shown(s); }
// Arguments are evaluated in no set order: pass only readings, no calls that change anything.
template <class... T>
std::string line(T... parts) {
    std::string out;
    bool first = true;
    ((out += (first ? "" : " ") + str(parts), first = false), ...);
    return out;
}

}  // namespace zarn::test

#endif
