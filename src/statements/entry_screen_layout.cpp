#include "statements/entry_screen_layout.h"

#include <stdexcept>

namespace mirudanto::statements {

Display DisplayOf(const FileValue& value) {
  if (value.display) return *value.display;
  switch (value.kind) {
    case ValueKind::Text: return Display::Text;
    case ValueKind::Amount: return Display::Amount;
    case ValueKind::Number16: return Display::Digits;
  }
  return Display::Text;
}

FileLayout& EntryScreenLayout::FileOf(FileRole role) {
  for (FileLayout& file : files) {
    if (file.file.role == role) return file;
  }
  throw std::logic_error(("no such file on " + name).toStdString());
}

const FileLayout& EntryScreenLayout::FileOf(FileRole role) const {
  return const_cast<EntryScreenLayout&>(*this).FileOf(role);
}

const FileValue& EntryScreenLayout::ValueAt(ValueRef ref) const {
  return FileOf(ref.file).values.at(static_cast<std::size_t>(ref.number - 1));
}

ValueRef EntryScreenLayout::ValueOfBox(const QString& box) const {
  for (const FileLayout& file : files) {
    for (std::size_t v = 0; v < file.values.size(); ++v) {
      if (file.values[v].box == box) return {file.file.role, static_cast<int>(v) + 1};
    }
  }
  throw std::logic_error(("no value in " + name + "." + box).toStdString());
}

QStringList EntryScreenLayout::AmountBoxes() const {
  QStringList shown;
  for (const FileLayout& file : files) {
    for (const FileValue& value : file.values) {
      if (value.kind == ValueKind::Amount && !value.box.isEmpty()) shown.append(value.box);
    }
  }
  for (const TotalRule& rule : totals) {
    if (!rule.unstoredBox.isEmpty()) shown.append(rule.unstoredBox);
  }
  QStringList visible;
  for (const BoxLayout& box : boxes) {
    if (box.style != BoxStyle::Hidden && shown.contains(box.name)) visible.append(box.name);
  }
  return visible;
}

HeldFiles::HeldFiles(const std::vector<FileLayout>& files) {
  for (const FileLayout& file : files) {
    roles_.push_back(file.file.role);
    values_.emplace_back(file.values.size());
  }
}

std::vector<HeldValue>& HeldFiles::Of(FileRole role) {
  for (std::size_t f = 0; f < roles_.size(); ++f) {
    if (roles_[f] == role) return values_[f];
  }
  throw std::logic_error("no such file");
}

const std::vector<HeldValue>& HeldFiles::Of(FileRole role) const {
  return const_cast<HeldFiles&>(*this).Of(role);
}

HeldValue& HeldFiles::operator[](ValueRef ref) {
  return Of(ref.file).at(static_cast<std::size_t>(ref.number - 1));
}

const HeldValue& HeldFiles::operator[](ValueRef ref) const {
  return const_cast<HeldFiles&>(*this)[ref];
}

namespace {

bool InColumns(const std::vector<int>& columns, std::size_t column) {
  if (columns.empty()) return true;
  for (int c : columns) {
    if (static_cast<std::size_t>(c) == column) return true;
  }
  return false;
}

}  // namespace

void MoveRow(HeldFiles& held, const RowLayout& from, const RowLayout& to) {
  for (std::size_t c = 0; c < from.size(); ++c) {
    held[to[c]] = held[from[c]];
    held[from[c]] = HeldValue();
  }
}

void ExchangeRows(HeldFiles& held, const RowLayout& a, const RowLayout& b,
                  const std::vector<int>& columns) {
  for (std::size_t c = 0; c < a.size(); ++c) {
    if (InColumns(columns, c)) std::swap(held[a[c]], held[b[c]]);
  }
}

void ClearRow(HeldFiles& held, const RowLayout& row, const std::vector<int>& columns) {
  for (std::size_t c = 0; c < row.size(); ++c) {
    if (InColumns(columns, c)) held[row[c]] = HeldValue();
  }
}

}  // namespace mirudanto::statements
