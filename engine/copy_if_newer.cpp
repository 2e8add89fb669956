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

// The most that is copied between two pumps of the window events.
constexpr std::uint64_t kChunkBytes = 16384;

enum class Freshness { kSourceNewer, kUpToDate, kFailed };

void TellCopyFailure(UserInterface& ui, std::string_view message, const std::string& path) {
  ui.ShowMessage(TwoLines(message, path), MessageIcon::kNone);
}

// A version comparison, where the support library can make one, overrides the dates both ways.
// Where the dates decide, the stamps by name settle an up-to-date destination without opening the
// source; a source that looks newer is opened into `input` and judged again by the open file's
// date, so that the date compared and the bytes copied are those of one and the same file. A
// failure closes it before it is told, so that nothing is open while the person reads the message.
Freshness DecideFreshness(Platform& platform, const DestinationFolder* folder,
                          std::unique_ptr<File>& input, const std::string& source,
                          const std::string& destination) {
  // A hidden or system destination is a file like any other: only a folder or nothing is absent.
  // Nothing is read through a folder that cannot be held.
  if (!folder || !platform.files.IsFile(destination)) return Freshness::kSourceNewer;
  // Windows lets only the system replace a file that it protects, whatever its version: the
  // entry is left out as up to date, as established installers leave such a runtime file.
  if (platform.directories.ProtectedBySystem(destination)) return Freshness::kUpToDate;
  std::int32_t comparison = 0;
  const std::optional<std::int32_t> compared =
      platform.support.CompareVersion(source, destination, comparison);
  if (!compared) {
    platform.ui.ShowMessage(TwoLines(kLibraryUnreachable, "CompareVersion"), MessageIcon::kWarning);
    return Freshness::kFailed;
  }
  if (*compared == 1) return comparison > 0 ? Freshness::kSourceNewer : Freshness::kUpToDate;
  // A destination whose stamp cannot be read cannot show that it is new enough.
  const std::optional<FileTime> destination_time = platform.files.LastModified(destination);
  if (!destination_time) return Freshness::kSourceNewer;
  const std::optional<FileTime> named_time = platform.files.LastModified(source);
  if (named_time && *named_time <= *destination_time) return Freshness::kUpToDate;
  input = platform.files.OpenForReading(source);
  const std::optional<FileTime> source_time = input ? input->LastModified() : std::nullopt;
  if (!source_time) {
    if (input) input->Close();
    TellCopyFailure(platform.ui, kCannotOpen, source);
    return Freshness::kFailed;
  }
  return *source_time <= *destination_time ? Freshness::kUpToDate : Freshness::kSourceNewer;
}

// Closes both files; the temporary one is removed as it closes, so that nothing is open or
// half-written while the person reads the message that follows.
void Discard(File& input, TemporaryFile& temporary) {
  input.Close();
  temporary.Close();
}

// Copies the source into a temporary file beside the destination and puts it in the
// destination's place only when every byte is written: a failure or a stop leaves the old
// destination as it was.
CopyResult CopyThroughTemporary(Platform& platform, const bool& stop_flag,
                                DestinationFolder* folder, File& input, const std::string& source,
                                const std::string& destination) {
  // The length of the file that is read, not of whatever its name showed a moment before.
  const std::optional<std::uint64_t> length = input.Length();
  if (!length) {
    input.Close();
    TellCopyFailure(platform.ui, kCannotOpen, source);
    return kCopyFailed;
  }
  // One buffer serves every chunk, so memory stays at one chunk. Not getting it is told as a
  // destination that cannot be made, before anything is made.
  const std::unique_ptr<std::byte[]> buffer(
      new (std::nothrow) std::byte[static_cast<std::size_t>(std::min(*length, kChunkBytes))]);
  const std::unique_ptr<TemporaryFile> temporary =
      buffer && folder ? folder->CreateTemporary(destination) : nullptr;
  if (!temporary) {
    input.Close();
    TellCopyFailure(platform.ui, kCannotCreate, destination);
    return kCopyFailed;
  }

  for (std::uint64_t remaining = *length; remaining > 0;) {
    const std::span<std::byte> chunk(buffer.get(),
                                     static_cast<std::size_t>(std::min(remaining, kChunkBytes)));
    if (!input.Read(chunk)) {
      Discard(input, *temporary);
      TellCopyFailure(platform.ui, kCannotRead, source);
      return kCopyFailed;
    }
    if (!temporary->Write(chunk)) {
      Discard(input, *temporary);
      TellCopyFailure(platform.ui, kCannotWrite, destination);
      return kCopyFailed;
    }
    remaining -= chunk.size();
    platform.ui.PumpEvents();
    if (stop_flag) {
      Discard(input, *temporary);
      return kCopyStopped;
    }
  }

  // A failure at the end is told through the last step that ran: the write, or for an empty
  // source the making of the destination.
  const std::string_view unfinished = *length == 0 ? kCannotCreate : kCannotWrite;
  // CopyFileDateTime is looked up before the replace: once the new bytes stand in place, their
  // date could no longer be carried over, and the old copy would be gone.
  if (!input.Close() || !platform.support.Reachable(SupportLibrary::Function::kCopyFileDateTime)) {
    temporary->Close();
    TellCopyFailure(platform.ui, unfinished, destination);
    return kCopyFailed;
  }
  switch (temporary->Install()) {
    case TemporaryFile::Outcome::kInstalled:
      break;
    case TemporaryFile::Outcome::kNotWritten:
      TellCopyFailure(platform.ui, unfinished, destination);
      return kCopyFailed;
    case TemporaryFile::Outcome::kNotReplaced:
      TellCopyFailure(platform.ui, kCannotCreate, destination);
      return kCopyFailed;
  }
  // Reachable above; its own result is not examined. The new file is still held, so that it is
  // the file that gets the date.
  platform.support.CopyFileDateTime(destination, source);
  return kCopied;
}

}  // namespace

CopyResult Module1::CopyIfNewer(const std::string& source, const std::string& destination) {
  platform_.ui.PumpEvents();
  if (StopFlag) return kCopyStopped;
  // The support library takes paths in the ANSI code page: a name that it cannot spell would
  // reach it as a look-alike, and another file would be compared, dated or registered.
  if (!platform_.support.CanPass(source)) {
    TellCopyFailure(platform_.ui, kCannotOpen, source);
    return kCopyFailed;
  }
  if (!platform_.support.CanPass(destination)) {
    TellCopyFailure(platform_.ui, kCannotCreate, destination);
    return kCopyFailed;
  }
  // A folder that cannot be held (missing, or reached through a link that a standard user could
  // have planted) is one where the destination cannot be made.
  DestinationFolder* const folder = HoldFolderOf(destination);
  // A source that cannot be opened fails only where it is needed: a version comparison may find
  // the destination up to date without it.
  std::unique_ptr<File> input;
  switch (DecideFreshness(platform_, folder, input, source, destination)) {
    case Freshness::kUpToDate:
      return kUpToDate;
    case Freshness::kFailed:
      return kCopyFailed;
    case Freshness::kSourceNewer:
      break;
  }
  if (!input) input = platform_.files.OpenForReading(source);
  if (!input) {
    TellCopyFailure(platform_.ui, kCannotOpen, source);
    return kCopyFailed;
  }
  return CopyThroughTemporary(platform_, StopFlag, folder, *input, source, destination);
}

// Holding a folder costs as much as the rest of an up-to-date entry: one hold serves every entry
// in a row whose destinations lie in the same folder, and holding it longer only keeps it safe
// longer. A folder that could not be held is tried again.
DestinationFolder* Module1::HoldFolderOf(const std::string& destination) {
  const std::string folder = destination.substr(0, destination.rfind('\\'));
  if (!held_folder_ || folder != held_folder_path_) {
    held_folder_.reset();
    held_folder_ = platform_.files.HoldFolderOf(destination);
    held_folder_path_ = folder;
  }
  return held_folder_.get();
}

}  // namespace tavrel
