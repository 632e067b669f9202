#include "extract/unpack7z.h"

#include <cstddef>
#include <cstdlib>
#include <mutex>

#include "7z.h"
#include "7zCrc.h"

namespace extract {

namespace {

// Look-ahead buffer of the archive reader: large enough that the decoder's many small reads
// become few large ones.
constexpr size_t kInputBufferSize = 1 << 18;

// Both the main and the temporary allocator are plain malloc/free.
void* AllocBlock(ISzAllocPtr, size_t size) {
  return size == 0 ? nullptr : std::malloc(size);
}
void FreeBlock(ISzAllocPtr, void* address) {
  std::free(address);
}
const ISzAlloc kAllocMain = {AllocBlock, FreeBlock};
const ISzAlloc kAllocTemp = {AllocBlock, FreeBlock};

// The SDK's seekable input over an UnpackArchiveFile.
struct ArchiveStream {
  ISeekInStream vt;  // first member: the SDK hands back a pointer to it
  UnpackArchiveFile* file;
};

SRes StreamRead(ISeekInStreamPtr p, void* buf, size_t* size) {
  const ArchiveStream* stream = reinterpret_cast<const ArchiveStream*>(p);
  return stream->file->Read(buf, size) ? SZ_OK : SZ_ERROR_READ;
}

SRes StreamSeek(ISeekInStreamPtr p, Int64* pos, ESzSeek origin) {
  const ArchiveStream* stream = reinterpret_cast<const ArchiveStream*>(p);
  int64_t position = *pos;
  UnpackArchiveFile::Origin from = UnpackArchiveFile::kFromBegin;
  if (origin == SZ_SEEK_CUR) from = UnpackArchiveFile::kFromCurrent;
  if (origin == SZ_SEEK_END) from = UnpackArchiveFile::kFromEnd;
  if (!stream->file->Seek(&position, from)) return SZ_ERROR_READ;
  *pos = position;
  return SZ_OK;
}

// A malloc'ed block that grows on demand and is freed on every path.
template <typename T>
class GrowableBuffer {
 public:
  GrowableBuffer() = default;
  GrowableBuffer(const GrowableBuffer&) = delete;
  GrowableBuffer& operator=(const GrowableBuffer&) = delete;
  ~GrowableBuffer() { std::free(data_); }
  // False when the memory cannot be had; the old contents are then kept.
  bool Reserve(size_t count) {
    if (count <= count_) return true;
    if (count > static_cast<size_t>(-1) / sizeof(T)) return false;
    void* grown = std::malloc(count * sizeof(T));
    if (!grown) return false;
    std::free(data_);
    data_ = static_cast<T*>(grown);
    count_ = count;
    return true;
  }
  T* data() const { return data_; }

 private:
  T* data_ = nullptr;
  size_t count_ = 0;
};

// The SDK's archive state for one extraction: opened database, look-ahead reader and the
// cached solid block, all released when it goes out of scope.
class ArchiveReader {
 public:
  explicit ArchiveReader(UnpackArchiveFile* file) {
    stream_.vt.Read = StreamRead;
    stream_.vt.Seek = StreamSeek;
    stream_.file = file;
    LookToRead2_CreateVTable(&look_, False);
    look_.buf = nullptr;
    look_.bufSize = 0;
    look_.realStream = &stream_.vt;
    LookToRead2_INIT(&look_);
    SzArEx_Init(&db_);
  }
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;
  ~ArchiveReader() {
    ISzAlloc_Free(&kAllocMain, block_);
    SzArEx_Free(&db_, &kAllocMain);
    std::free(look_.buf);
  }

  SRes Open() {
    look_.buf = static_cast<Byte*>(std::malloc(kInputBufferSize));
    if (!look_.buf) return SZ_ERROR_MEM;
    look_.bufSize = kInputBufferSize;
    return SzArEx_Open(&db_, &look_.vt, &kAllocMain, &kAllocTemp);
  }

  // Decodes entry `index` (using the cached solid block when it holds the entry) and points
  // *data / *size at its bytes inside the block.
  SRes Extract(UInt32 index, const Byte** data, size_t* size) {
    size_t offset = 0;
    size_t processed = 0;
    const SRes res = SzArEx_Extract(&db_, &look_.vt, index, &block_index_, &block_, &block_size_, &offset, &processed,
                                    &kAllocMain, &kAllocTemp);
    *data = block_ ? block_ + offset : nullptr;
    *size = processed;
    return res;
  }

  const CSzArEx& db() const { return db_; }

 private:
  ArchiveStream stream_;
  CLookToRead2 look_;
  CSzArEx db_;
  UInt32 block_index_ = 0xFFFFFFFF;
  Byte* block_ = nullptr;
  size_t block_size_ = 0;
};

void GenerateCrcTableOnce() {
  static std::once_flag once;
  std::call_once(once, [] { CrcGenerateTable(); });
}

// Writes the decoded bytes in pieces of at most kWriteChunkSize; false at the first failed or
// short write.
bool WriteInChunks(UnpackOutputFile* out, const Byte* data, size_t size, uint64_t* bytes_written) {
  size_t done = 0;
  while (done < size) {
    const size_t piece = size - done < kWriteChunkSize ? size - done : kWriteChunkSize;
    size_t written = 0;
    if (!out->Write(data + done, piece, &written) || written != piece) return false;
    done += piece;
    *bytes_written += piece;
  }
  return true;
}

// The flow over an opened archive; returns the code and fills `details`.
int UnpackEntries(UnpackFileSystem& fs, ArchiveReader& reader, const std::u16string& folder, UnpackDetails* details) {
  const CSzArEx& db = reader.db();
  GrowableBuffer<UInt16> name_buffer;
  GrowableBuffer<char16_t> path_buffer;
  if (!path_buffer.Reserve(kOutputPathCapacity)) return kUnpackOutOfMemory;

  for (UInt32 i = 0; i < db.NumFiles; ++i) {
    const bool is_folder = SzArEx_IsDir(&db, i) != 0;

    const size_t name_length = SzArEx_GetFileNameUtf16(&db, i, nullptr);  // with the NUL
    if (!name_buffer.Reserve(name_length)) return kUnpackOutOfMemory;
    SzArEx_GetFileNameUtf16(&db, i, name_buffer.data());
    const std::u16string name(reinterpret_cast<const char16_t*>(name_buffer.data()),
                              name_length > 0 ? name_length - 1 : 0);

    auto fail_on_entry = [&](EntryFailure failure) {
      details->failure = failure;
      details->entry_name = name;
      fs.Print(EntryFailureText(failure, fs.ToNarrow(name)));
      return kUnpackOutputFileError;
    };

    if (!fs.NameConvertsToOem(name)) return fail_on_entry(EntryFailure::kNameConversion);
    // Refused before anything is decoded or created: such an entry would reach outside the
    // install folder, and a path that does not fit must never be written into the buffer.
    if (!IsSafeEntryName(name)) {
      fs.AppendErrorFile(RefusedEntryRecord(fs.ToNarrow(name)));
      return fail_on_entry(EntryFailure::kUnsafeName);
    }
    if (!JoinOutputPath(folder, name, path_buffer.data(), kOutputPathCapacity)) {
      fs.AppendErrorFile(RefusedEntryRecord(fs.ToNarrow(name)));
      return fail_on_entry(EntryFailure::kPathTooLong);
    }
    const std::u16string path(path_buffer.data());

    if (is_folder) {
      fs.MakeFolder(path);
      continue;
    }

    const Byte* data = nullptr;
    size_t size = 0;
    const SRes res = reader.Extract(i, &data, &size);
    if (res != SZ_OK) {
      details->entry_name = name;  // the entry whose data could not be decoded
      return res;
    }

    std::unique_ptr<UnpackOutputFile> out = fs.OpenOutput(path);
    if (!out) {
      if (IsSkippableLockedEntry(name)) {
        ++details->skipped_entries;
        continue;
      }
      fs.AppendErrorFile(ErrorFileRecord(fs.ToNarrow(path)));
      return fail_on_entry(EntryFailure::kCannotOpen);
    }
    if (!WriteInChunks(out.get(), data, size, &details->bytes_written)) {
      return fail_on_entry(EntryFailure::kCannotWrite);
    }
    if (!out->Close()) return fail_on_entry(EntryFailure::kCannotClose);
    if (SzBitWithVals_Check(&db.Attribs, i)) {
      fs.ApplyAttributes(path, WindowsAttributesOf(db.Attribs.Vals[i]));
    }
  }
  return kUnpackOk;
}

}  // namespace

int Unpack7zWith(UnpackFileSystem& fs, const std::u16string& archive, const std::u16string& install_folder,
                 UnpackDetails* details) {
  UnpackDetails local_details;
  if (!details) details = &local_details;
  *details = UnpackDetails();

  if (!fs.IsFolder(install_folder)) {
    fs.Print(UnpackDiagnosticText(kUnpackNoInstallFolder, 0));
    return kUnpackNoInstallFolder;
  }
  if (!fs.Exists(archive)) {
    fs.Print(UnpackDiagnosticText(kUnpackNoPackage, 0));
    return kUnpackNoPackage;
  }
  std::unique_ptr<UnpackArchiveFile> file = fs.OpenArchive(archive);
  if (!file) {
    fs.Print("\nERROR: can not open input file\n");
    return kUnpackCannotOpenArchive;
  }

  GenerateCrcTableOnce();
  int code;
  {
    ArchiveReader reader(file.get());
    code = reader.Open();
    if (code == SZ_OK) code = UnpackEntries(fs, reader, install_folder, details);
  }
  file.reset();
  fs.Print(UnpackDiagnosticText(code, details->bytes_written));
  return code;
}

bool Unpack7zInFolderWith(UnpackFileSystem& fs, const std::u16string& archive, const std::u16string& install_folder,
                          int* code, UnpackDetails* details) {
  std::u16string saved;
  const bool have_saved = fs.CurrentFolder(&saved);
  fs.ChangeFolder(install_folder);
  const int result = Unpack7zWith(fs, archive, install_folder, details);
  if (have_saved) fs.ChangeFolder(saved);
  if (code) *code = result;
  return result == kUnpackOk;
}

}  // namespace extract

int Unpack7z(const std::u16string& archive, const std::u16string& install_folder, UnpackDetails* details) {
  return extract::Unpack7zWith(extract::PlatformUnpackFileSystem(), archive, install_folder, details);
}

bool Unpack7zInFolder(const std::u16string& archive, const std::u16string& install_folder, int* code,
                      UnpackDetails* details) {
  return extract::Unpack7zInFolderWith(extract::PlatformUnpackFileSystem(), archive, install_folder, code, details);
}
