#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/messages.h"
#include "engine/module1.h"

namespace tavrel {

namespace {

constexpr CopyResult kResultFailed = 0;
constexpr CopyResult kResultCopied = 1;
constexpr CopyResult kResultUpToDate = 2;
constexpr CopyResult kResultStopped = -1;

// The most that is copied between two pumps of the window events.
constexpr std::uint64_t kChunkBytes = 16384;

enum class Freshness { kSourceNewer, kUpToDate, kFailed };

void TellCopyFailure(UserInterface& ui, std::string_view message, const std::string& path) {
  ui.ShowMessage(TwoLines(message, path), MessageIcon::kNone);
}

// A version comparison, where the support library can make one, overrides the dates both ways.
Freshness DecideFreshness(Platform& platform, const std::string& source,
                          const std::string& destination) {
  if (!platform.files.Exists(destination)) return Freshness::kSourceNewer;
  std::int32_t comparison = 0;
  const std::optional<std::int32_t> compared =
      platform.support.CompareVersion(source, destination, comparison);
  if (!compared) {
    platform.ui.ShowMessage(TwoLines(kLibraryUnreachable, "CompareVersion"), MessageIcon::kWarning);
    return Freshness::kFailed;
  }
  if (*compared == 1) return comparison > 0 ? Freshness::kSourceNewer : Freshness::kUpToDate;
  const std::optional<FileTime> source_time = platform.files.LastModified(source);
  if (!source_time) {
    TellCopyFailure(platform.ui, kCannotOpen, source);
    return Freshness::kFailed;
  }
  // A destination whose stamp cannot be read cannot show that it is new enough.
  const std::optional<FileTime> destination_time = platform.files.LastModified(destination);
  if (destination_time && *source_time <= *destination_time) return Freshness::kUpToDate;
  return Freshness::kSourceNewer;
}

// Closes both files and removes the temporary one, so that nothing is open or half-written while
// the person reads the message that follows.
void Discard(FileSystem& files, File& input, TemporaryFile& temporary) {
  input.Close();
  temporary.file->Close();
  files.Delete(temporary.path);
}

// Copies the source into a temporary file beside the destination and puts it in the
// destination's place only when every byte is written: a failure or a stop leaves the old
// destination as it was.
CopyResult CopyThroughTemporary(Platform& platform, const bool& stop_flag,
                                const std::string& source, const std::string& destination) {
  const std::optional<std::uint64_t> length = platform.files.Length(source);
  const std::unique_ptr<File> input = length ? platform.files.OpenForReading(source) : nullptr;
  if (!input) {
    TellCopyFailure(platform.ui, kCannotOpen, source);
    return kResultFailed;
  }
  // One buffer serves every chunk, so memory stays at one chunk. Not getting it is told as a
  // destination that cannot be made, before anything is made.
  const std::unique_ptr<std::byte[]> buffer(
      new (std::nothrow) std::byte[static_cast<std::size_t>(std::min(*length, kChunkBytes))]);
  std::optional<TemporaryFile> temporary =
      buffer ? platform.files.CreateTemporaryBeside(destination) : std::nullopt;
  if (!temporary) {
    input->Close();
    TellCopyFailure(platform.ui, kCannotCreate, destination);
    return kResultFailed;
  }

  for (std::uint64_t remaining = *length; remaining > 0;) {
    const std::span<std::byte> chunk(buffer.get(),
                                     static_cast<std::size_t>(std::min(remaining, kChunkBytes)));
    if (!input->Read(chunk)) {
      Discard(platform.files, *input, *temporary);
      TellCopyFailure(platform.ui, kCannotRead, source);
      return kResultFailed;
    }
    if (!temporary->file->Write(chunk)) {
      Discard(platform.files, *input, *temporary);
      TellCopyFailure(platform.ui, kCannotWrite, destination);
      return kResultFailed;
    }
    remaining -= chunk.size();
    platform.ui.PumpEvents();
    if (stop_flag) {
      Discard(platform.files, *input, *temporary);
      return kResultStopped;
    }
  }

  const bool input_closed = input->Close();
  const bool temporary_closed = temporary->file->Close();
  // Asked before the replace: once the new bytes stand in place, their date could no longer be
  // carried over, and the old copy would be gone.
  if (!input_closed || !temporary_closed ||
      !platform.support.Reachable(SupportLibrary::Function::kCopyFileDateTime)) {
    platform.files.Delete(temporary->path);
    TellCopyFailure(platform.ui, *length == 0 ? kCannotCreate : kCannotWrite, destination);
    return kResultFailed;
  }
  if (!platform.files.Replace(temporary->path, destination)) {
    platform.files.Delete(temporary->path);
    TellCopyFailure(platform.ui, kCannotCreate, destination);
    return kResultFailed;
  }
  // Reachable above; its own result is not examined.
  platform.support.CopyFileDateTime(destination, source);
  return kResultCopied;
}

}  // namespace

CopyResult Module1::CopyIfNewer(const std::string& source, const std::string& destination) {
  platform_.ui.PumpEvents();
  if (StopFlag) return kResultStopped;
  switch (DecideFreshness(platform_, source, destination)) {
    case Freshness::kUpToDate:
      return kResultUpToDate;
    case Freshness::kFailed:
      return kResultFailed;
    case Freshness::kSourceNewer:
      break;
  }
  return CopyThroughTemporary(platform_, StopFlag, source, destination);
}

}  // namespace tavrel
