#include "MemoryZip.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>

namespace TliTest {

namespace {

struct MemoryFile {
    const std::string* mData;
    ZPOS64_T mPosition;
};

voidpf ZCALLBACK Open(voidpf opaque, const void*, int)
{
    static_cast<MemoryFile*>(opaque)->mPosition = 0;
    return opaque;
}

uLong ZCALLBACK ReadBytes(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* file = static_cast<MemoryFile*>(stream);
    const ZPOS64_T left = file->mData->size() - std::min<ZPOS64_T>(file->mPosition, file->mData->size());
    const auto count = static_cast<uLong>(std::min<ZPOS64_T>(size, left));
    std::memcpy(buffer, file->mData->data() + file->mPosition, count);
    file->mPosition += count;
    return count;
}

uLong ZCALLBACK WriteBytes(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream)
{
    return static_cast<MemoryFile*>(stream)->mPosition;
}

long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* file = static_cast<MemoryFile*>(stream);
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = file->mPosition;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = file->mData->size();
    if (base + offset > file->mData->size())
        return -1;
    file->mPosition = base + offset;
    return 0;
}

int ZCALLBACK Close(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK Error(voidpf, voidpf)
{
    return 0;
}

}

std::optional<ZipEntry> ReadFirstEntry(const std::string& archive)
{
    MemoryFile file{&archive, 0};
    zlib_filefunc64_def functions{Open, ReadBytes, WriteBytes, Tell, Seek, Close, Error, &file};
    unzFile zip = unzOpen2_64("memory", &functions);
    if (zip == nullptr)
        return std::nullopt;
    std::optional<ZipEntry> entry;
    unz_file_info64 info{};
    char name[256] = {};
    if (unzGoToFirstFile(zip) == UNZ_OK &&
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK &&
        unzOpenCurrentFile(zip) == UNZ_OK) {
        std::string content(static_cast<std::size_t>(info.uncompressed_size), '\0');
        const int read = unzReadCurrentFile(zip, &content[0], static_cast<unsigned>(content.size()));
        // Closing the entry checks its CRC.
        const int closed = unzCloseCurrentFile(zip);
        if (read == static_cast<int>(content.size()) && closed == UNZ_OK)
            entry = ZipEntry{name, content};
    }
    unzClose(zip);
    return entry;
}

}
