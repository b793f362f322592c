#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace mirudanto::platform {

// File operations on drive-form paths. Each fails with a Failure worded from
// the one table; none leaves a file half-written.

// The whole content of a file.
QByteArray ReadFileBytes(const QString& path);

// Replaces the file whole: the bytes go to a temporary file in the same
// folder, are flushed to the disk and then renamed over the target, so a
// failure or a crash leaves the old file as it was.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

struct FileContent {
  QString path;
  QByteArray bytes;
};
// Replaces several files as one: every file is first written whole to its
// temporary file and flushed; only when all are, they are renamed into place
// in the order given. A file that cannot be written leaves every target as it
// was and no temporary behind.
void WriteFilesTogether(const std::vector<FileContent>& files);

// The writer's temporary files carry this mark at the start of their names, so
// that leftovers of a killed program are recognised and never taken for data.
bool IsTemporaryFileName(const QString& fileName);
// Removes the writer's leftover temporary files from one folder (not below
// it). A folder that is missing or cannot be read is left alone.
void RemoveTemporaryFiles(const QString& folder);

bool FolderExists(const QString& path);
bool FileExists(const QString& path);
// One level only: fails when the parent folder is missing, or when the folder
// exists already.
void CreateFolder(const QString& path);
// Creates an empty file and closes it; without overwrite an existing file is a
// failure and stays as it was.
void CreateTextFile(const QString& path, bool overwrite);
// Fails as creating a new file there would: when a file of that name exists,
// or its folder is missing. Nothing is created, so a write that follows and
// fails leaves no empty file behind.
void EnsureNewFile(const QString& path);
// Copies a file whole, replacing the target (atomically, as a write).
void CopyFile(const QString& source, const QString& target);
void DeleteFile(const QString& path);

// The operations above as one seam; each does what its function says. The
// functions are what the system calls; they go to the file system installed
// now, so that a test can make the disk fail where it chooses.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual QByteArray ReadFileBytes(const QString& path) = 0;
  // Writes the bytes whole to a new temporary file beside the target and
  // flushes it; returns the temporary file's path, for the two calls below.
  virtual QString WriteTemporary(const QString& path, const QByteArray& bytes) = 0;
  // Renames a temporary file over its target.
  virtual void ReplaceWithTemporary(const QString& temporary, const QString& path) = 0;
  // Removes a temporary file that will not be used; never fails.
  virtual void DiscardTemporary(const QString& temporary) noexcept = 0;
  virtual bool FolderExists(const QString& path) = 0;
  virtual bool FileExists(const QString& path) = 0;
  virtual void CreateFolder(const QString& path) = 0;
  virtual void CreateTextFile(const QString& path, bool overwrite) = 0;
  virtual void EnsureNewFile(const QString& path) = 0;
  virtual void CopyFile(const QString& source, const QString& target) = 0;
  virtual void DeleteFile(const QString& path) = 0;
};

FileSystem& CurrentFileSystem();
// Installs the file system for the run (not owned); nullptr restores the disk.
void InstallFileSystem(FileSystem* fileSystem);

}  // namespace mirudanto::platform
