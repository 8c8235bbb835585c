// Fixed-length Fortran text: NUL-terminated copies.
#include "platform/ftext.h"

#include <cstdlib>

namespace zarn {

FText::FText(const char *text, std::size_t length)
    : ptr_(local_), size_(0), absent_(ftext_absent(text, length)) {
    std::string_view v = ftext_view(text, length);
    size_ = v.size();
    if (size_ >= sizeof local_) {
        ptr_ = static_cast<char *>(std::malloc(size_ + 1));
        if (ptr_ == nullptr) {  // keep a usable empty text rather than fail
            ptr_ = local_;
            size_ = 0;
        }
    }
    if (size_ > 0) std::memcpy(ptr_, v.data(), size_);
    ptr_[size_] = '\0';
}

FText::~FText() {
    if (ptr_ != local_) std::free(ptr_);
}

}  // namespace zarn
