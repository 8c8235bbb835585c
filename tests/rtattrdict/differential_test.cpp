// Long random operation sequences on a head with three levels of resizable windows, checked after every
// step against a plain model of the elements.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "dict.h"
#include "rtattrdict/rtattrdict_sibling.h"

namespace {
using namespace attrtest;

struct Elem {
    std::string name, note = "none";
    double value = 1.5;
    int64_t status = 7;
    IWEXWrapper *wrap = nullptr;
};
// parent: index into the window table, -1 for the head; start: 1-based in the parent; the size is kept equal
// to cap.
struct Win {
    rtattrdict_t *d;
    int parent;
    int32_t start, cap;
    std::string prefix;
};

struct Model {
    std::mt19937 rng;
    HistoryCapture his;
    rtattrdict_t *head = rtattrdict_create(20, kDesc, 1);
    std::vector<Elem> elems = std::vector<Elem>(20);
    // A over 2..9 holding X (holding a third level) and Q; a window without prefix beside A.
    std::vector<Win> wins = {{nullptr, -1, 2, 8, "A."},
                             {nullptr, -1, 12, 4, ""},
                             {nullptr, 0, 1, 4, "X."},
                             {nullptr, 2, 2, 2, ""},
                             {nullptr, 0, 6, 2, "Q."}};
    CountingWrapper pool[3];
    int next = 1;
    std::vector<std::string> retired;  // the last names that left the model

    explicit Model(uint32_t seed) : rng(seed) {
        rtattrdict_resize(head, 20);
        for (Win &w : wins) {
            w.d = rtattrdict_create_embedded(w.parent < 0 ? head : wins[w.parent].d, w.start, w.cap,
                                             w.prefix.c_str(), 1);
            rtattrdict_resize(w.d, w.cap);
        }
    }
    ~Model() {
        for (auto w = wins.rbegin(); w != wins.rend(); ++w) rtattrdict_destroy(w->d);
        rtattrdict_destroy(head);
    }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    int32_t size_of(int w) const { return w < 0 ? static_cast<int32_t>(elems.size()) : wins[w].cap; }
    int32_t abs_start(int w) const { return w < 0 ? 1 : abs_start(wins[w].parent) + wins[w].start - 1; }
    std::string prefixes(int w) const { return w < 0 ? "" : prefixes(wins[w].parent) + wins[w].prefix; }
    void retire(Elem &e, bool reset = false) {  // the name leaves the model, and the index
        if (!e.name.empty()) retired.push_back(e.name);
        if (retired.size() > 40) retired.erase(retired.begin());
        if (reset) e = Elem{};
    }
    // A change of delta elements at the end of window w, from w up to the head.
    void splice(int w, int32_t delta) {
        for (int node = w; node >= 0; node = wins[node].parent) {
            for (Win &s : wins)
                if (&s != &wins[node] && s.parent == wins[node].parent && s.start >= wins[node].start)
                    s.start += delta;
            wins[node].cap += delta;
        }
    }

    void step() {
        const int op = pick(0, 10), w = pick(-1, static_cast<int>(wins.size()) - 1);
        rtattrdict_t *d = w < 0 ? head : wins[w].d;
        const int32_t i = size_of(w) > 0 ? pick(1, size_of(w)) : 1, a = abs_start(w) + i - 1,
                      cap = size_of(w);
        Elem &e = elems[a - 1];
        const std::string n1 = "N" + std::to_string(next++), n2 = "N" + std::to_string(next++);
        if (op == 0) {
            const double x = pick(0, 1000) / 8.0;
            EXPECT_EQ(rtattrdict_setd_return_modified(d, i, "VALUE", x), e.value != x ? 1 : 0);
            e.value = x;
        } else if (op == 1) {
            rtattrdict_seti(d, i, "STATUS", e.status = pick(-3, 3) * (int64_t{1} << 33) + pick(-5, 5));
            rtattrdict_sets(d, i, "NOTE", (e.note = "n" + std::to_string(pick(0, 5))).c_str());
        } else if (op == 2 || op == 3) {
            const int k = pick(0, 3);
            rtattrdict_setwrapper(d, i, "WRAP", e.wrap = k == 3 ? nullptr : &pool[k]);
        } else if (op == 4) {
            add(d, i, {n1.c_str()});
            retire(e);
            e.name = prefixes(w) + n1;
        } else if (op == 5 && i < cap) {  // two as fixed-width records
            rtattrdict_add_group(
                d, i, 2, 12,
                (n1 + std::string(12 - n1.size(), ' ') + n2 + std::string(12 - n2.size(), ' ')).c_str());
            retire(elems[a]);
            elems[a].name = prefixes(w) + n2;
            retire(e);
            e.name = prefixes(w) + n1;
        } else if (op == 6) {
            rtattrdict_sets(d, i, "NAME", n1.c_str());
            retire(e);
            e.name = prefixes(w) + n1;
        } else if (op == 7) {
            rtattrdict_remove_items(d, i, 1);
            retire(e, true);
        } else if (op == 8) {  // a block of the head to anywhere
            const int32_t count = pick(1, 4), size = size_of(-1);
            if (count > size) return;
            const int32_t src = pick(1, size - count + 1), dst = pick(1, size - count + 1);
            rtattrdict_move_items(head, src, dst, count);
            if (src == dst) return;
            std::vector<Elem> block(elems.begin() + src - 1, elems.begin() + src - 1 + count);
            for (int32_t k = dst; k < dst + count; ++k)
                if (k < src || k >= src + count) retire(elems[k - 1]);  // overwritten
            for (int32_t k = src; k < src + count; ++k) elems[k - 1] = Elem{};
            std::copy(block.begin(), block.end(), elems.begin() + dst - 1);
        } else if (op == 9 &&
                   w >= 0) {  // grow (capacity first) or shrink (size first) at the end; children stay whole
            const int32_t k = pick(0, 1) ? pick(1, 3) : -pick(1, 2),
                          at = abs_start(w) + cap - 1 + std::min(k, 0);
            if (cap + k < 1) return;
            for (const Win &c : wins)
                if (k < 0 && c.parent == w && c.start + c.cap - 1 > cap + k) return;
            if (k > 0) {
                rtattrdict_change_capacity(d, cap + k);
                rtattrdict_resize(d, cap + k);
            } else {
                rtattrdict_resize(d, cap + k);
                rtattrdict_change_capacity(d, cap + k);
            }
            if (k > 0) elems.insert(elems.begin() + at, k, Elem{});
            for (int32_t j = 0; j < -k; ++j) elems.erase(elems.begin() + at);
            splice(w, k);
        } else if (op == 10 && (w == 1 || w == 3) && cap > 1) {  // delete inside a window without children
            const int32_t count = pick(1, cap - 1), start = pick(1, cap - count + 1),
                          at = abs_start(w) + start - 2;
            rtattrdict_delete_items(d, start, count);
            for (int32_t k = 0; k < count; ++k) retire(elems[at + k]);
            elems.erase(elems.begin() + at, elems.begin() + at + count);
            splice(w, -count);
        } else if (op == 10) {  // refused below the size: the model does not change
            rtattrdict_change_capacity(head, rtattrdict_inq_capacity(head) + pick(-3, 5));
        }
    }

    void check() {
        const int32_t size = rtattrdict_inq_num(head), capacity = rtattrdict_inq_capacity(head);
        ASSERT_EQ(size * 10 + rtattrdict_okay(head), size_of(-1) * 10 + 1);
        const double *v = rtattrdict_dvector_ro(head, "VALUE");
        const int64_t *s = rtattrdict_ivector_ro(head, "STATUS");
        const char *const *n = rtattrdict_svector_ro(head, "NAME");
        for (int32_t k = 1; k <= capacity; ++k) {  // beyond the size: defunct
            const Elem e = k <= size ? elems[k - 1] : Elem{};
            ASSERT_EQ(std::string(n[k - 1]) + "," + std::to_string(v[k - 1]) + "," + std::to_string(s[k - 1]),
                      e.name + "," + std::to_string(e.value) + "," + std::to_string(e.status))
                << k;
            if (k <= size) {
                const int32_t index = e.name.empty() ? 0 : k;
                ASSERT_EQ(rtattrdict_getwrapper(head, k, "WRAP"), e.wrap) << k << " " << e.name;
                ASSERT_STREQ(rtattrdict_gets(head, k, "NOTE"), e.note.c_str()) << k << " " << e.name;
                ASSERT_EQ(rtattrdict_index(head, e.name.c_str()), index) << k << " " << e.name;
            }
            // No duplicate, no failure: each name is confirmed at its own element without a lookup, and not
            // at the next one.
            if (k <= size && !e.name.empty()) {
                ASSERT_TRUE(zarn::rtattrdict::finds(head, k, e.name.c_str(), e.name.size()))
                    << k << " " << e.name;
            }
            if (k < size && !e.name.empty()) {
                ASSERT_FALSE(zarn::rtattrdict::finds(head, k + 1, e.name.c_str(), e.name.size()))
                    << k << " " << e.name;
            }
        }
        for (int w = 0; w < static_cast<int>(wins.size()); ++w) {
            const Win &win = wins[w];
            ASSERT_EQ(std::tuple(rtattrdict_inq_num(win.d), rtattrdict_inq_capacity(win.d), start_of(win.d),
                                 rtattrdict_okay(win.d)),
                      std::tuple(win.cap, win.cap, win.start, 1))
                << w;
            const std::string chain = prefixes(w);
            for (int32_t i = 1, base = abs_start(w); i <= win.cap; ++i) {
                const std::string &full = elems[base + i - 2].name;
                ASSERT_EQ(rtattrdict_absolute_index(win.d, i), base + i - 1);
                if (full.empty() || full.compare(0, chain.size(), chain) != 0) continue;
                ASSERT_EQ(rtattrdict_name(win.d, i) +
                              std::to_string(rtattrdict_index(win.d, full.c_str() + chain.size())),
                          full.substr(chain.size()) + std::to_string(i))
                    << w;
            }
        }
        for (const std::string &gone : retired) ASSERT_EQ(rtattrdict_index(head, gone.c_str()), 0) << gone;
        for (auto &wr : pool)
            ASSERT_EQ(wr.refs, std::count_if(elems.begin(), elems.end(),
                                             [&](const Elem &e) { return e.wrap == &wr; }));
    }
};

TEST(AttrDictDifferential, RandomOperationsMatchTheModel) {
    for (uint32_t run = 1; run <= 6 && !::testing::Test::HasFatalFailure(); ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        Model m(run * 7919u);
        for (int s = 0; s <= 1500 && !::testing::Test::HasFatalFailure(); ++s) {
            SCOPED_TRACE("step " + std::to_string(s));
            if (s > 0) m.step();
            m.check();
        }
        // The only refusals expected are head capacities below the size.
        const std::string h = m.his.text();
        for (size_t at = 0, end; (end = h.find('\n', at)) != std::string::npos; at = end + 1)
            EXPECT_EQ(h.compare(at, 33, "!!head_change_capacity: capacity "), 0) << h.substr(at, end - at);
    }
}

}  // namespace
