#include "certificate_file.h"

#include <cstring>
#include <windows.h>

namespace {

const char StagedNamePrefix[] = "tnw";
// Attributes that make the system refuse to overwrite a file: such a file keeps refusing the
// save, as it did when the save wrote to it directly.
const DWORD GuardedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

enum TargetKind { NoTarget, RegularTarget, OtherTarget };

TargetKind KindOfTarget(const char* path) {
  // Opening a name in the device space may connect to a pipe's server or claim a port: those
  // are written to as they are, without a look first.
  if (strncmp(path, "\\\\.\\", 4) == 0) return OtherTarget;
  // Asking for no access at all looks at the file without disturbing whoever has it open.
  HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_FILE_NOT_FOUND ? NoTarget : OtherTarget;
  }
  DWORD type = GetFileType(file);
  CloseHandle(file);
  if (type != FILE_TYPE_DISK) return OtherTarget;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & GuardedAttributes) != 0) {
    return OtherTarget;
  }
  return RegularTarget;
}

// The folder of the path as GetTempFileNameA takes it: with its closing separator, "." for
// the current folder, and "X:." for the current folder of another drive.
bool FolderOf(const char* path, char* folder, size_t size) {
  size_t length = 0;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':')) length = i + 1;
  }
  bool driveOnly = length == 2 && path[1] == ':';
  if (length + 2 > size) return false;
  memcpy(folder, path, length);
  if (length == 0 || driveOnly) folder[length++] = '.';
  folder[length] = '\0';
  return true;
}

FILE* OpenDirectly(const char* path, char* staged) {
  staged[0] = '\0';
  return fopen(path, "wb");
}

}  // namespace

FILE* OpenCertificateFile(const char* path, char* staged, size_t stagedSize, bool* outOfSpace) {
  *outOfSpace = false;
  if (KindOfTarget(path) == OtherTarget) return OpenDirectly(path, staged);
  char folder[MAX_PATH];
  if (stagedSize < MAX_PATH || !FolderOf(path, folder, sizeof folder)) return nullptr;
  // Creates the file under a name that no other file in the folder has.
  if (GetTempFileNameA(folder, StagedNamePrefix, 0, staged) == 0) {
    DWORD error = GetLastError();
    *outOfSpace = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    staged[0] = '\0';
    return nullptr;
  }
  FILE* stream = fopen(staged, "wb");
  if (stream == nullptr) {
    DiscardCertificateFile(staged);
    staged[0] = '\0';
  }
  return stream;
}

bool PlaceCertificateFile(const char* staged, const char* path) {
  return MoveFileExA(staged, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void DiscardCertificateFile(const char* staged) {
  if (staged[0] != '\0') DeleteFileA(staged);
}
