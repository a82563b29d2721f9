#include "camsim/ZipArchive.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace CamSim {

namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t EndSignature = 0x06054B50;
constexpr std::uint16_t Version = 20;    // 2.0: deflate
constexpr std::uint16_t Deflated = 8;
// 2024-05-14 10:00:00 in MS-DOS form: a fixed time keeps archives identical.
constexpr std::uint16_t DosTime = 10 << 11;
constexpr std::uint16_t DosDate = ((2024 - 1980) << 9) | (5 << 5) | 14;
constexpr std::size_t LocalHeaderSize = 30;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, static_cast<std::uint16_t>(value));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

std::vector<std::uint8_t> Deflate(const std::string& content)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(content.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    return out;
}

// The fields local and central headers share, from "version needed" on.
void PutEntryFields(std::vector<std::uint8_t>& out, std::uint32_t crc, std::size_t packed, std::size_t size,
                    std::size_t nameLength)
{
    Put16(out, Version);
    Put16(out, 0);
    Put16(out, Deflated);
    Put16(out, DosTime);
    Put16(out, DosDate);
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(packed));
    Put32(out, static_cast<std::uint32_t>(size));
    Put16(out, static_cast<std::uint16_t>(nameLength));
    Put16(out, 0);
}

}

std::vector<std::uint8_t> MakeZipArchive(const std::string& entryName, const std::string& content)
{
    if (content.size() > std::numeric_limits<std::uint32_t>::max() || entryName.size() > 0xFFFF)
        throw std::runtime_error("too large for a zip archive");
    const std::vector<std::uint8_t> packed = Deflate(content);
    const auto crc = static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));

    std::vector<std::uint8_t> out;
    Put32(out, LocalHeaderSignature);
    PutEntryFields(out, crc, packed.size(), content.size(), entryName.size());
    out.insert(out.end(), entryName.begin(), entryName.end());
    out.insert(out.end(), packed.begin(), packed.end());

    const std::size_t centralStart = out.size();
    Put32(out, CentralHeaderSignature);
    Put16(out, Version);
    PutEntryFields(out, crc, packed.size(), content.size(), entryName.size());
    Put16(out, 0);    // comment length
    Put16(out, 0);    // disk number
    Put16(out, 0);    // internal attributes
    Put32(out, 0);    // external attributes
    Put32(out, 0);    // offset of the local header
    out.insert(out.end(), entryName.begin(), entryName.end());
    const std::size_t centralSize = out.size() - centralStart;

    Put32(out, EndSignature);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, static_cast<std::uint32_t>(centralSize));
    Put32(out, static_cast<std::uint32_t>(centralStart));
    Put16(out, 0);
    return out;
}

std::size_t ZipEntryDataOffset(const std::string& entryName)
{
    return LocalHeaderSize + entryName.size();
}

}
