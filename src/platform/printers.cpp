#include "platform/printers.h"

#include <cups/cups.h>

#include <cerrno>

#include "core/failure.h"

namespace mirudanto::platform {
namespace {

// The destinations as libcups knows them at this moment (the server's queues
// with the user's own settings and default); freed when it goes.
class Destinations {
 public:
  Destinations() { count_ = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_); }
  ~Destinations() { cupsFreeDests(count_, dests_); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  int Count() const { return count_; }
  cups_dest_t* begin() const { return dests_; }
  cups_dest_t* end() const { return dests_ + count_; }
  cups_dest_t* Find(const char* name) const { return cupsGetDest(name, nullptr, count_, dests_); }

 private:
  int count_ = 0;
  cups_dest_t* dests_ = nullptr;
};

}  // namespace

std::vector<QString> InstalledPrinters() {
  const Destinations dests;
  std::vector<QString> names;
  for (const cups_dest_t& dest : dests) {
    if (dest.instance == nullptr) names.push_back(QString::fromUtf8(dest.name));
  }
  return names;
}

QString DefaultPrinter() {
  const Destinations dests;
  const cups_dest_t* dest = cupsGetDest(nullptr, nullptr, dests.Count(), dests.begin());
  return dest != nullptr ? QString::fromUtf8(dest->name) : QString();
}

void SetDefaultPrinter(const QString& name) {
  const Destinations dests;
  const QByteArray utf8 = name.toUtf8();
  // An empty name would find the current default rather than fail.
  const cups_dest_t* chosen = name.isEmpty() ? nullptr : dests.Find(utf8.constData());
  if (chosen == nullptr) throw Failure(FailureKind::InvalidPrinterName);
  for (cups_dest_t& dest : dests) dest.is_default = &dest == chosen ? 1 : 0;
  errno = 0;
  if (cupsSetDests2(CUPS_HTTP_DEFAULT, dests.Count(), dests.begin()) != 0) {
    throw Failure(errno != 0 ? FailureKindFromErrno(errno) : FailureKind::OtherIO);
  }
}

}  // namespace mirudanto::platform
