#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "support/drive_state.h"
#include "support/memory_file_system.h"

namespace mirudanto::testing {

// Stands in for the file system as a medium that keeps no more than POSIX
// promises after a power cut: every call goes on to the disk, and beside it a
// model follows what the medium may hold.
//
// - A file's content is kept once the file is flushed; one never flushed
//   comes back empty. Flushing a file keeps its content, not its name.
// - Each directory operation (a file or folder made, a rename within a
//   folder, a second name, a removal) is kept once its folder is flushed.
//   Until then each one survives a cut or not on its own, and of those that
//   survive, a later one on a name overrides an earlier one. A rename from
//   one folder to another is two operations, one in each.
// - A folder whose own name is lost is lost with all in it.
//
// LosePowerAfter(n) cuts the power after the nth step (a call that changes
// the disk or flushes it): every later call fails and changes nothing.
// FailFlush(n) makes the nth flush (of a file as it is written, or of a
// folder) fail with an I/O error, keeping nothing. After the run, Pending()
// tells the operations a cut may keep or lose, and Durable() what the medium
// holds for a choice of them. Installed for its lifetime, over the temporary
// drives of the test.
class PowerLossFileSystem : public platform::FileSystem {
 public:
  struct Node {
    bool folder = false;
    int file = -1;
    bool operator==(const Node&) const = default;
  };
  using Folder = std::map<QString, Node>;

  // One directory operation not yet flushed: in its folder, the name given a
  // node, or removed where there is none; a rename within the folder also
  // removes the name it came from.
  struct Operation {
    QString folder;
    QString name;
    std::optional<Node> node;
    QString from;
  };

  // The drives as a medium began: to begin another on the same files without
  // reading them all again.
  struct Start {
    std::map<QString, Folder> folders;
    std::map<int, QByteArray> contents;
    int files = 0;
  };

  // The medium as `state` says, on these drives ("c:", "a:").
  static Start StartOf(const DriveState& state, const std::set<QString>& drives);

  // What is on both drives now counts as on the medium.
  PowerLossFileSystem();
  // The drives hold what `start` says (put back by the test).
  explicit PowerLossFileSystem(const Start& start);
  // The medium as `killed` left it, with the power still on: what it had not
  // yet flushed is still to be kept or lost. The file system under it holds
  // `killed`'s Now(), with the names of one file (NamesOfOneFile) as one.
  struct GoingOn {};
  PowerLossFileSystem(const PowerLossFileSystem& killed, GoingOn);
  ~PowerLossFileSystem() override;
  PowerLossFileSystem(const PowerLossFileSystem&) = delete;
  PowerLossFileSystem& operator=(const PowerLossFileSystem&) = delete;

  // The medium gives no file a second name, as FAT.
  void WithoutHardLinks() { hardLinks_ = false; }
  void LosePowerAfter(int steps) { powerFor_ = steps; }
  void FailFlush(int nth) { failFlush_ = nth; }
  int Steps() const { return steps_; }
  // What each step was, in order.
  enum class StepKind : char { Write, Rename, Link, Unlink, MakeFolder, Flush };
  const std::vector<StepKind>& StepKinds() const { return kinds_; }
  int Flushes() const { return flushes_; }
  // The step of the flush that was made to fail, or 0.
  int FailedAtStep() const { return failedAt_; }
  bool PowerLost() const { return powerFor_ >= 0 && steps_ >= powerFor_; }
  const Start& Began() const { return began_; }
  // The drives that have a medium ("c:", "a:").
  std::set<QString> Drives() const;
  // Whether a change was committed before the cut: a record renamed to its
  // done note, or a file written alone renamed into place, or deleted.
  bool Committed() const { return committed_; }

  const std::vector<Operation>& Pending() const { return pending_; }
  // What the medium holds after a cut that keeps the pending operations
  // marked in `kept` and loses the others. The locks are left out.
  DriveState Durable(const std::vector<char>& kept) const;
  // The drives as they are now, as the disk has them.
  DriveState Now() const;
  // Each second name of a file now, with its first.
  std::vector<std::pair<QString, QString>> NamesOfOneFile() const;
  // The same as Durable, for many choices after one cut: what every choice
  // keeps is found once, and where no folder is pending a choice is told by
  // the files it changes, its hash (HashOf) from theirs.
  class Choosing {
   public:
    explicit Choosing(const PowerLossFileSystem& medium);
    // The files a choice changes, and the hash of the state it leaves.
    struct Chosen {
      std::map<QString, std::optional<QByteArray>> files;
      std::size_t hash = 0;
      std::vector<char> kept;
    };
    Chosen Choose(std::vector<char> kept) const;
    MemoryState Durable(const Chosen& chosen) const;

   private:
    const PowerLossFileSystem& medium_;
    bool folders_ = false;
    MemoryState base_;
    std::size_t hash_ = 0;
  };

  QByteArray Read(const QString& path) override;
  void Write(const QString& path, const QByteArray& bytes, bool flush) override;
  void Rename(const QString& from, const QString& to) override;
  bool Link(const QString& from, const QString& to) override;
  void Unlink(const QString& path) override;
  void MakeFolder(const QString& path) override;
  void FlushFolder(const QString& path) override;
  platform::PathKind Look(const QString& path) override;
  bool Lock(const QString& path, platform::LockMode mode) override;

 private:
  void Load(const QString& folder);
  void Step(StepKind kind);
  void Check() const;
  // Whether a change's record is in the data root of `path`.
  bool Recorded(const QString& path) const;
  // Whether this flush is the one to fail; counts it.
  bool FlushFails();
  void Set(const QString& path, std::optional<Node> node, const QString& from = QString());
  QByteArray ContentOf(const Node& node) const;
  // Both drives as `folders` hold them, each file with its `content`.
  DriveState Walk(const std::map<QString, Folder>& folders,
                  const std::function<QByteArray(const Node&)>& content) const;

  platform::FileSystem& next_;
  bool hardLinks_ = true;
  int powerFor_ = -1;
  int failFlush_ = 0;
  int steps_ = 0;
  std::vector<StepKind> kinds_;
  int flushes_ = 0;
  int failedAt_ = 0;
  bool committed_ = false;
  int nextFile_ = 0;
  // Folders by drive-form path, as they are now and as last flushed.
  std::map<QString, Folder> now_;
  std::map<QString, Folder> kept_;
  std::vector<Operation> pending_;
  // Files' contents as written, and as flushed; a file not flushed comes
  // back empty.
  std::map<int, QByteArray> written_;
  std::map<int, QByteArray> flushed_;
  Start began_;
};

}  // namespace mirudanto::testing
