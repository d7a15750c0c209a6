#pragma once
// A file's bytes held in memory and read as a stream, so that what reads a file stream reads
// them the same way: the upgrade file, when an approved-images list asks for the sum of the
// bytes that are then sent, is read once into here, summed, and sent from here.
#include <istream>
#include <streambuf>
#include <string>

namespace orvo {

class HeldBytes {
public:
    HeldBytes() : stream_(&buffer_) {}
    HeldBytes(const HeldBytes&) = delete;
    HeldBytes& operator=(const HeldBytes&) = delete;

    // Holds `bytes`, the stream at their start.
    void Hold(std::string bytes);
    bool Holds() const { return holds_; }
    const std::string& Bytes() const { return bytes_; }
    std::istream& Stream() { return stream_; }

private:
    // Reads and seeks within the held bytes; nothing is ever written.
    class Buffer : public std::streambuf {
    public:
        void Show(std::string& bytes);

    protected:
        pos_type seekoff(off_type offset, std::ios_base::seekdir from,
                         std::ios_base::openmode which) override;
        pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
    };

    std::string bytes_;
    bool holds_ = false;
    Buffer buffer_;
    std::istream stream_;
};

}  // namespace orvo
