#include "platform/unrar/rar_packed.h"

#include <algorithm>
#include <cstring>

#include "platform/unrar/rar_session.h"

namespace unrar {

using mx::codec::Status;

int PackedReader::Start()
{
    started_ = true;
    if (session_.volumeIndex_ != place_.volume) {
        const int opened = session_.OpenKnownVolume(place_.volume);
        if (opened != ERAR_SUCCESS)
            return opened;
    }
    part_ = place_.header;
    at_ = place_.dataPos;
    left_ = part_.packSize;
    if (at_ > session_.volumeSize_ || left_ > session_.volumeSize_ - at_)
        return ERAR_EREAD;
    return ERAR_SUCCESS;
}

// Moves to the entry's part in the next volume: the first block there must be the same entry,
// continued.
int PackedReader::NextPart()
{
    const int moved = session_.NextVolume();
    if (moved != ERAR_SUCCESS)
        return moved;
    BlockHeader block;
    std::vector<uint8_t> whole;
    uint64_t dataPos = 0;
    FileHeader next;
    if (session_.ReadBlock(session_.pos_, block, whole, dataPos) != ERAR_SUCCESS || block.type != kFileHead ||
        !HeaderCrcMatches(whole, block) || ParseFileHeader(whole, next) != ParseResult::Ok || !(next.flags & kSplitBefore) || next.name != part_.name)
        return ERAR_BROKEN_CHAIN;
    part_ = next;
    at_ = dataPos;
    left_ = part_.packSize;
    if (at_ > session_.volumeSize_ || left_ > session_.volumeSize_ - at_)
        return ERAR_EREAD;
    return ERAR_SUCCESS;
}

int PackedReader::Read(uint8_t* dest, size_t max, size_t& got)
{
    got = 0;
    if (!started_) {
        const int r = Start();
        if (r != ERAR_SUCCESS)
            return r;
    }
    while (left_ == 0) {
        if (!(part_.flags & kSplitAfter)) {
            ended_ = true;
            session_.pos_ = at_;
            return ERAR_SUCCESS;
        }
        const int r = NextPart();
        if (r != ERAR_SUCCESS)
            return r;
    }
    const size_t n = size_t(std::min<uint64_t>(left_, max));
    const int r = session_.ReadAt(at_, dest, n);
    if (r != ERAR_SUCCESS)
        return r;
    at_ += n;
    left_ -= n;
    got = n;
    return ERAR_SUCCESS;
}

int PackedReader::SkipRest()
{
    if (!started_) {
        const int r = Start();
        if (r != ERAR_SUCCESS)
            return r;
    }
    for (;;) {
        at_ += left_;
        left_ = 0;
        if (!(part_.flags & kSplitAfter))
            break;
        const int r = NextPart();
        if (r != ERAR_SUCCESS)
            return r;
    }
    ended_ = true;
    session_.pos_ = at_;
    return ERAR_SUCCESS;
}

PackedSource::PackedSource(PackedReader& reader, std::unique_ptr<mx::codec::RarDecryptor> decryptor)
    : reader_(reader), decryptor_(std::move(decryptor)), buffer_(new uint8_t[kBlock + 16])
{
}

Status PackedSource::Read(std::span<const uint8_t>& block) noexcept
{
    if (error_)
        return Status::Truncated;
    // The incomplete cipher block left after the last block goes to the front.
    if (carry_)
        std::memmove(buffer_.get(), buffer_.get() + handed_, carry_);
    size_t filled = carry_;
    while (filled < kBlock && !ended_) {
        size_t got = 0;
        const int r = reader_.Read(buffer_.get() + filled, kBlock - filled, got);
        if (r != ERAR_SUCCESS) {
            error_ = r;
            return Status::Truncated;
        }
        if (got == 0)
            ended_ = true;
        filled += got;
        if (!decryptor_)
            break;  // plain data can go as soon as there are some
    }
    size_t ready = filled;
    if (decryptor_) {
        // Block ciphers take whole blocks; a tail shorter than a block at the very end is padding.
        ready -= filled % decryptor_->BlockSize();
        decryptor_->Decrypt(std::span<uint8_t>(buffer_.get(), ready));
    }
    carry_ = ended_ ? 0 : filled - ready;
    handed_ = ready;
    if (ready == 0)
        return Status::End;
    block = std::span<const uint8_t>(buffer_.get(), ready);
    return Status::Ok;
}

}  // namespace unrar
