#include "certificate_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char StagedNamePattern[] = ".tarnwick-XXXXXX";

// False, copying nothing, when the text does not fit a PATH_MAX buffer.
bool CopyPath(char* buffer, const char* text) {
  size_t length = strlen(text);
  if (length >= PATH_MAX) return false;
  memcpy(buffer, text, length + 1);
  return true;
}

// The file that a save through this path replaces: a symbolic link stays in place and the
// file that it leads to gets the new bytes. False when the path names no file.
bool FinalTarget(const char* path, char* target, struct stat* status) {
  if (stat(path, status) != 0) return false;
  char resolved[PATH_MAX];
  const char* chosen = path;
  struct stat own;
  if (lstat(path, &own) == 0 && S_ISLNK(own.st_mode) && realpath(path, resolved) != nullptr) {
    chosen = resolved;
  }
  return CopyPath(target, chosen);
}

// The folder part of the path, with its closing slash ("" for the current folder).
size_t FolderLength(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash == nullptr ? 0 : static_cast<size_t>(slash - path) + 1;
}

mode_t NewFileMode() {
  // umask can only be read by setting it; the save runs on the main thread alone.
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

FILE* OpenDirectly(const char* path, char* staged) {
  staged[0] = '\0';
  return fopen(path, "wb");
}

}  // namespace

FILE* OpenCertificateFile(const char* path, char* staged, size_t stagedSize, bool* outOfSpace) {
  *outOfSpace = false;
  char target[PATH_MAX];
  struct stat existing;
  bool exists = FinalTarget(path, target, &existing);
  if (exists && !S_ISREG(existing.st_mode)) return OpenDirectly(path, staged);
  if (!exists) {
    struct stat own;
    // A dangling link, or a path that cannot be looked at: as before, the open decides.
    if (lstat(path, &own) == 0 || errno != ENOENT || !CopyPath(target, path)) {
      return OpenDirectly(path, staged);
    }
  } else if (access(target, W_OK) != 0) {
    // A file that may not be written keeps refusing the save, even where its folder would
    // let a new file take its place.
    return OpenDirectly(path, staged);
  }
  size_t folder = FolderLength(target);
  if (folder + sizeof StagedNamePattern > stagedSize) return nullptr;
  memcpy(staged, target, folder);
  memcpy(staged + folder, StagedNamePattern, sizeof StagedNamePattern);
  int descriptor = mkstemp(staged);
  if (descriptor < 0) {
    *outOfSpace = errno == ENOSPC || errno == EDQUOT;
    staged[0] = '\0';
    return nullptr;
  }
  mode_t mode = exists ? existing.st_mode & 07777 : NewFileMode();
  FILE* stream = nullptr;
  if (exists) {
    // Allowed to the superuser only (or to the owner, for a change of group); where it is
    // refused, the new file is the saving user's, as a newly created one would be.
    int ignored = fchown(descriptor, existing.st_uid, existing.st_gid);
    (void)ignored;
  }
  if (fchmod(descriptor, mode) == 0) stream = fdopen(descriptor, "wb");
  if (stream == nullptr) {
    close(descriptor);
    DiscardCertificateFile(staged);
    staged[0] = '\0';
  }
  return stream;
}

bool PlaceCertificateFile(const char* staged, const char* path) {
  // The bytes reach the disk before the name does: a crash then leaves the old file or the
  // new one, never an empty one.
  int descriptor = open(staged, O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  bool synced = fsync(descriptor) == 0;
  close(descriptor);
  if (!synced) return false;
  char target[PATH_MAX];
  struct stat existing;
  if (!FinalTarget(path, target, &existing) && !CopyPath(target, path)) return false;
  if (rename(staged, target) != 0) return false;
  char folder[PATH_MAX + 2];
  size_t length = FolderLength(target);
  memcpy(folder, target, length);
  memcpy(folder + length, ".", 2);
  int directory = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    // The file is in place already; a folder that cannot be synced does not undo that.
    int ignored = fsync(directory);
    (void)ignored;
    close(directory);
  }
  return true;
}

void DiscardCertificateFile(const char* staged) {
  if (staged[0] != '\0') unlink(staged);
}
