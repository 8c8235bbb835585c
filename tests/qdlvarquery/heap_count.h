// Counts the heap blocks the whole test program holds, so that a test can see
// that an operation gives back every block it took.
#ifndef ZARN_TESTS_QDLVARQUERY_HEAP_COUNT_H
#define ZARN_TESTS_QDLVARQUERY_HEAP_COUNT_H

namespace zarn::test {

// Blocks from malloc, calloc, realloc and the aligned forms not yet freed;
// -1 under a sanitizer, which keeps the heap to itself (and finds leaks itself).
long live_heap_blocks();

}  // namespace zarn::test

#endif
