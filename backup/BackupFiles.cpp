#include "backup/BackupFiles.h"

#include <windows.h>

#include <array>

#include "base/AppPaths.h"
#include "base/Handle.h"
#include "base/OsDetect.h"
#include "base/Elevation.h"
#include "base/Platform.h"
#include "base/Utf8.h"
#include "registry/CRegister.h"
#include "registry/RegKey.h"
#include "registry/RegistryValues.h"
#include "registry/WriteTally.h"

namespace tarvix {
namespace {

// Larger than any backup the program writes (about 150 bytes an interface).
constexpr DWORD kLargestBackup = 4u << 20;

std::optional<BackupWriteFault> g_writeFault;

// True when a test made `step` fail; `error` is then its code.
bool Faulted(BackupWriteStep step, DWORD& error) noexcept {
  if (!g_writeFault || g_writeFault->step != step) return false;
  error = g_writeFault->error;
  return true;
}

bool WriteAll(const std::string& path, const std::string& text, DWORD& error) {
  if (Faulted(BackupWriteStep::Create, error)) return false;
  UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = GetLastError();
    return false;
  }
  DWORD written = 0;
  if (Faulted(BackupWriteStep::Write, error)) {
    // A disk that fills up half way: part of the text is on disk.
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size() / 2), &written, nullptr);
    return false;
  }
  if (!WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size() || Faulted(BackupWriteStep::Flush, error) || !FlushFileBuffers(file.get())) {
    if (error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS) error = ERROR_DISK_FULL;
    return false;
  }
  return true;
}

bool ReadAll(const std::string& path, std::string& text, std::string& error) {
  UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = "The file cannot be opened: " + SystemMessage(GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestBackup) {
    error = "The file is too large to be a Tarvix backup.";
    return false;
  }
  text.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!text.empty() && (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr) ||
                        got != text.size())) {
    error = "The file cannot be read: " + SystemMessage(GetLastError());
    return false;
  }
  return true;
}

}  // namespace

std::string SystemMessage(std::uint32_t code) {
  // Wide and converted, as the paths beside it in the program's messages are.
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length != 0 && buffer != nullptr ? ToUtf8(std::wstring_view(buffer, length))
                                                      : "error " + std::to_string(code);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string BackupFolder() { return AppFile("\\Backups"); }

std::vector<std::string> ListBackupFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const std::string pattern = folder + "\\*" + std::string(backup::kExtension);
  const UniqueFindHandle search(FindFirstFileW(ToWide(pattern).c_str(), &found));
  if (!search) return names;
  do {
    // The pattern also matches short 8.3 names, so "x.BCKUP" comes back too.
    const std::string name = ToUtf8(found.cFileName);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && backup::HasBackupExtension(name)) {
      names.push_back(name);
    }
  } while (FindNextFileW(search.get(), &found));
  return names;
}

BackupPathResult NextBackupPath() {
  BackupPathResult result;
  const std::string folder = BackupFolder();
  if (!FolderExists(folder) && !CreateDirectoryW(ToWide(folder).c_str(), nullptr)) {
    result.error = "Tarvix cannot create its backup folder " + folder + ": " + SystemMessage(GetLastError());
    return result;
  }
  // Which of the numbers 1 to 999 are taken (index 0: names that give no
  // number, such as old.BCK; 1012.BCK counts as 12).
  std::array<bool, backup::kHighestNumber + 1> taken{};
  for (std::string_view name : ListBackupFiles(folder)) {
    taken[static_cast<std::size_t>(
        backup::NumberFromBaseName(name.substr(0, name.size() - backup::kExtension.size())))] = true;
  }
  const std::optional<int> number = backup::NextFreeNumber(taken);
  const auto name = number ? backup::FileNameForNumber(*number) : std::nullopt;
  if (!name) {
    result.error = "All 999 backup names, 001.BCK to 999.BCK, are taken in " + folder +
                   ", so Tarvix cannot record the current settings and has changed nothing. "
                   "Delete backups you no longer need in the backup manager, then try again.";
    return result;
  }
  result.path = folder + "\\" + *name;
  return result;
}

namespace {

std::string RootName(Root root) {
  return root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string UnreadableError(Root root, std::string_view key, std::string_view name, LONG status) {
  std::string what = name.empty() ? "the key " + RootName(root) + "\\" + std::string(key)
                                  : "the value \"" + std::string(name) + "\" in " + RootName(root) + "\\" +
                                        std::string(key);
  std::string text = "Tarvix could not read " + what + ": " + SystemMessage(static_cast<std::uint32_t>(status)) +
                     "\r\n\r\nA backup without it could not undo the change, so no backup was written.";
  if (status == ERROR_ACCESS_DENIED) text += " Start Tarvix as an administrator and try again.";
  return text;
}

}  // namespace

CollectedBackup CollectBackupContents(std::int16_t family, const backup::Date& date, const backup::Time& time) {
  CollectedBackup collected{{date, time, family, {}}, {}};
  const backup::FamilyLayout* layout = backup::LayoutFor(family);
  if (layout == nullptr) return collected;
  const CRegister registry;
  const auto addGroup = [&](const backup::GroupLayout& group, std::string key) {
    const CRegister::BackupValues read = registry.ReadBackupValues(ToHkey(group.path.root), key, group.names);
    if (read.status != ERROR_SUCCESS) {
      collected.error = UnreadableError(group.path.root, key, read.failedName, read.status);
      return false;
    }
    backup::Group out{std::move(key), {}};
    for (std::size_t i = 0; i < group.names.size(); ++i) {
      out.pairs.push_back({std::string(group.names[i]), read.values[i]});
    }
    collected.contents.groups.push_back(std::move(out));
    return true;
  };
  for (const backup::GroupLayout& group : layout->fixedGroups) {
    if (!addGroup(group, group.path.With())) return collected;
  }
  std::vector<std::string> subKeys;
  if (const LONG listed = registry.ListBackupSubKeys(HKEY_LOCAL_MACHINE, layout->enumeratedKey, subKeys);
      listed != ERROR_SUCCESS) {
    collected.error = UnreadableError(Root::LocalMachine, layout->enumeratedKey, {}, listed);
    return collected;
  }
  for (const std::string& subKey : subKeys) {
    for (const backup::GroupLayout& group : layout->perSubKeyGroups) {
      if (!addGroup(group, group.path.With(subKey))) return collected;
    }
  }
  return collected;
}

BackupWriteResult WriteBackupFile() {
  BackupWriteResult result;
  const BackupPathResult next = NextBackupPath();
  if (next.path.empty()) {
    result.error = next.error;
    return result;
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const CollectedBackup collected = CollectBackupContents(OsFamily, {now.wYear, now.wMonth, now.wDay},
                                                         {now.wHour, now.wMinute, now.wSecond});
  if (!collected.error.empty()) {
    result.error = collected.error;
    return result;
  }
  const std::string text = backup::Format(collected.contents);

  // Written aside and renamed, so that a crash or a full disk never leaves a
  // half-written numbered file behind.
  const std::string temporary = BackupFolder() + "\\~backup.tmp";
  DWORD error = ERROR_SUCCESS;
  if (!WriteAll(temporary, text, error) || Faulted(BackupWriteStep::Rename, error) ||
      !MoveFileExW(ToWide(temporary).c_str(), ToWide(next.path).c_str(), MOVEFILE_WRITE_THROUGH)) {
    if (error == ERROR_SUCCESS) error = GetLastError();
    DeleteFileW(ToWide(temporary).c_str());
    result.error = "Tarvix could not write the backup file " + next.path + ": " + SystemMessage(error);
    return result;
  }
  result.ok = true;
  result.path = next.path;
  return result;
}

void SetBackupWriteFaultForTesting(std::optional<BackupWriteFault> fault) noexcept { g_writeFault = fault; }

RestoreOutcome RestoreBackupFile(std::string_view path) {
  RestoreOutcome outcome;
  const std::string file(path);
  const auto refuse = [&file](std::string_view why) {
    ShowError(file + "\r\n\r\n" + std::string(why) + "\r\n\r\nNothing was restored.");
  };
  std::string text;
  std::string error;
  if (!ReadAll(file, text, error)) {
    refuse(error);
    return outcome;
  }
  // The family is checked first: a file of another system is refused as such
  // even when its layout would not match ours.
  const auto header = backup::ParseHeader(text, &error);
  if (!header) {
    refuse("This is not a complete Tarvix backup file. " + error);
    return outcome;
  }
  if (header->family != OsFamily) {
    refuse("This backup file was taken from another operating system!!");
    return outcome;
  }
  const backup::ParseResult parsed = backup::Parse(text);
  if (!parsed.contents) {
    refuse("This is not a complete Tarvix backup file. " + parsed.error);
    return outcome;
  }
  const backup::FamilyLayout* layout = backup::LayoutFor(header->family);
  const DWORD type = Is9xFamily(header->family) ? REG_SZ : REG_DWORD;
  WriteTally tally;
  for (std::size_t i = 0; i < parsed.contents->groups.size(); ++i) {
    const backup::Group& group = parsed.contents->groups[i];
    const Root root = i < layout->fixedGroups.size() ? layout->fixedGroups[i].path.root : Root::LocalMachine;
    for (const backup::Pair& pair : group.pairs) {
      const bool remove = !pair.value.has_value();
      const LONG result = SetRegistryValue(ToHkey(root), group.key, pair.name, type, pair.value.value_or(0), remove);
      tally.Count(result, remove);
    }
  }
  outcome.restored = true;
  outcome.attemptedWrites = tally.attempted;
  outcome.refusedWrites = tally.refused;
  if (tally.refused > 0) ShowRefusedForRights(RefusedWritesMessage(tally));
  return outcome;
}

}  // namespace tarvix
