#include "HeldBytes.h"

#include <utility>

namespace orvo {

void HeldBytes::Hold(std::string bytes) {
    bytes_ = std::move(bytes);
    holds_ = true;
    buffer_.Show(bytes_);
    stream_.clear();
}

void HeldBytes::Buffer::Show(std::string& bytes) {
    char* const begin = bytes.data();
    setg(begin, begin, begin + bytes.size());
}

HeldBytes::Buffer::pos_type HeldBytes::Buffer::seekoff(off_type offset, std::ios_base::seekdir from,
                                                       std::ios_base::openmode which) {
    const off_type size = egptr() - eback();
    off_type base = 0;
    if (from == std::ios_base::cur) {
        base = gptr() - eback();
    } else if (from == std::ios_base::end) {
        base = size;
    }
    const off_type to = base + offset;
    if (!(which & std::ios_base::in) || to < 0 || to > size) {
        return pos_type(off_type(-1));
    }
    setg(eback(), eback() + to, egptr());
    return pos_type(to);
}

HeldBytes::Buffer::pos_type HeldBytes::Buffer::seekpos(pos_type position,
                                                       std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

}  // namespace orvo
