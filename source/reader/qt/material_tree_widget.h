// The material tree of the main window's left column: shows the entries the material-tree walk
// built with their six 32 x 32 images (drawn here), keeps the material-pointer flag while the
// pointer rests on the label or icon of a ".txt" entry, and reports a click on such an entry
// and a double click on an action entry. Opening the material and doing the action are the
// main window's.
#pragma once

#include <QPixmap>
#include <QTreeWidget>

#include <string>
#include <vector>

#include "reader/material_tree.h"

namespace duvelin {

class MaterialTreeWidget final : public QTreeWidget {
  Q_OBJECT

 public:
  static constexpr int kImageSize = 32;
  static constexpr int kIndent = 35;
  static constexpr int kImageCount = 6;

  explicit MaterialTreeWidget(QWidget* parent = nullptr);

  // Removes every entry and shows these, without redrawing in between.
  void Rebuild(const std::vector<MaterialTreeEntry>& entries);

  // The image (by its TreeImage index) and the index an item shows now.
  static const QPixmap& Image(int index);
  static int ImageIndexOf(const QTreeWidgetItem* item);

  // The relative path of an item: its text and its ancestors' texts joined with "\" (GBK).
  static std::string RelativePathOf(const QTreeWidgetItem* item);
  static TreeEntryKind KindOf(const QTreeWidgetItem* item);

  // The flag of the tree: on while the pointer is on the label or icon of a ".txt" entry.
  bool MaterialPointer() const { return m_materialPointer; }
  // Where an item's icon and label are drawn, in viewport coordinates.
  QRect LabelAndIconRect(const QTreeWidgetItem* item) const;

 signals:
  // A click on the label or icon of a ".txt" entry (RelativePathOf gives its path).
  void materialClicked(QTreeWidgetItem* item);
  // A double click on an entry whose action is not None.
  void actionRequested(DoubleClickAction action, const QPoint& globalPosition);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void AddEntry(const MaterialTreeEntry& entry, QTreeWidgetItem* parent);
  void UpdatePointerFlag(QPoint viewportPoint);
  void RefreshImage(QTreeWidgetItem* item);

  bool m_materialPointer = false;
  QTreeWidgetItem* m_hotItem = nullptr;
};

}  // namespace duvelin
