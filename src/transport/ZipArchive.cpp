#include "transport/ZipArchive.h"

#include "transport/CameraError.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace Kavrix {

namespace {

const char InvalidZip[] = "Device::GetXml: Invalid zipped XML";
const char OutOfMemory[] = "Device::GetXml: Out of memory";

// minizip reads the archive through these file functions over a buffer.
struct MemoryFile {
    const unsigned char* data;
    ZPOS64_T size;
    ZPOS64_T position;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int mode)
{
    // The archive is only ever read.
    if ((mode & ZLIB_FILEFUNC_MODE_WRITE) != 0) {
        return nullptr;
    }
    static_cast<MemoryFile*>(opaque)->position = 0;
    return opaque;
}

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* file = static_cast<MemoryFile*>(stream);
    const ZPOS64_T available = file->size - file->position;
    const uLong count = static_cast<uLong>(std::min<ZPOS64_T>(size, available));
    if (count > 0) {
        std::memcpy(buffer, file->data + file->position, count);
        file->position += count;
    }
    return count;
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream)
{
    return static_cast<MemoryFile*>(stream)->position;
}

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* file = static_cast<MemoryFile*>(stream);
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = file->position;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = file->size;
        break;
    default:
        return -1;
    }
    if (offset > file->size - base) {
        return -1;
    }
    file->position = base + offset;
    return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK ErrorMemory(voidpf, voidpf)
{
    return 0;
}

struct ArchiveCloser {
    void operator()(void* archive) const { unzClose(archive); }
};
using Archive = std::unique_ptr<void, ArchiveCloser>;

struct EntryCloser {
    void operator()(void* archive) const { unzCloseCurrentFile(archive); }
};

}

std::string UnzipFirstEntry(const void* data, std::size_t size)
{
    MemoryFile file{static_cast<const unsigned char*>(data), size, 0};
    zlib_filefunc64_def functions{};
    functions.zopen64_file = &OpenMemory;
    functions.zread_file = &ReadMemory;
    functions.zwrite_file = &WriteMemory;
    functions.ztell64_file = &TellMemory;
    functions.zseek64_file = &SeekMemory;
    functions.zclose_file = &CloseMemory;
    functions.zerror_file = &ErrorMemory;
    functions.opaque = &file;

    Archive archive(unzOpen2_64("memory", &functions));
    if (!archive || unzGoToFirstFile(archive.get()) != UNZ_OK) {
        throw CameraError(InvalidZip);
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        throw CameraError(InvalidZip);
    }
    // Refused like every other description too large to take in.
    if (info.uncompressed_size > MaxDescriptionSize) {
        throw CameraError(OutOfMemory);
    }

    std::string text;
    try {
        text.resize(static_cast<std::size_t>(info.uncompressed_size));
    } catch (const std::bad_alloc&) {
        throw CameraError(OutOfMemory);
    }
    if (unzOpenCurrentFile(archive.get()) != UNZ_OK) {
        throw CameraError(InvalidZip);
    }
    std::unique_ptr<void, EntryCloser> entry(archive.get());
    std::size_t done = 0;
    while (done < text.size()) {
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(text.size() - done, 1u << 20));
        const int read = unzReadCurrentFile(archive.get(), &text[done], chunk);
        if (read <= 0) {
            throw CameraError(InvalidZip);
        }
        done += static_cast<std::size_t>(read);
    }
    // Closing the entry checks its CRC: a damaged entry is not a description.
    if (unzCloseCurrentFile(entry.release()) != UNZ_OK) {
        throw CameraError(InvalidZip);
    }
    // The description ends at its first zero byte, as a C text would.
    text.resize(std::strlen(text.c_str()));
    return text;
}

}
