// One input of the Jacobian-sequence fuzz target, shared with the corpus
// replay test. The bytes are read as a program: each step picks Jacobians,
// Hessians (jacseq_coord.h), equation lists or tag lists (jacseq_lists.h) and
// one operation on them with its arguments, many of them extreme. After every
// step each part checks what its headers let a caller rely on; at the end
// everything is destroyed, windows before their heads, and the counting
// wrappers must hold only the fuzzer's own reference.
// The includer defines ZARN_FUZZ_CHECK(cond) for what a failed check does.
#ifndef ZARN_FUZZ_JACSEQ_ONE_INPUT_H
#define ZARN_FUZZ_JACSEQ_ONE_INPUT_H

#include <cstddef>
#include <cstdint>

#include "apiseq_one_input.h"
#include "jacseq_coord.h"
#include "jacseq_lists.h"

namespace zarn::fuzz::jacseq {

constexpr int kMaxSteps = 200;

class Program {
  public:
    Program(const uint8_t *data, std::size_t size) : in_(data, size) {}

    void run() {
        for (int step = 0; step < kMaxSteps && !in_.empty(); ++step) {
            switch (in_.byte() % 8) {
                case 0:
                case 1:
                case 2:
                    jac_.step();
                    jac_.check();
                    break;
                case 3:
                case 4:
                    hess_.step();
                    hess_.check();
                    break;
                case 5:
                case 6:
                    eqn_.step();
                    eqn_.check();
                    break;
                default:
                    tag_.step();
                    tag_.check();
            }
        }
        eqn_.teardown();
        for (int k = 0; k < 3; ++k) {
            ZARN_FUZZ_CHECK(apiseq::wrappers()[k].refs == 1);
            apiseq::wrappers()[k].refs = 1;
        }
    }

  private:
    Bytes in_;
    NameLists lists_;
    CoordSteps<JacKind> jac_{in_, lists_};
    CoordSteps<HessKind> hess_{in_, lists_};
    EqnSteps eqn_{in_};
    TagSteps tag_{in_};
};

inline void one_input(const uint8_t *data, std::size_t size) { Program(data, size).run(); }

}  // namespace zarn::fuzz::jacseq

#endif
