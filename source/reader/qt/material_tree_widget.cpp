#include "reader/qt/material_tree_widget.h"

#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <array>

#include "common/qt/qt_text.h"

namespace duvelin {
namespace {

constexpr int kGbkTextRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

// A folder: its back with the tab, and its front, either closed or opened towards the viewer.
void DrawFolder(QPainter& p, bool open) {
  const QColor back(222, 170, 60), front(250, 206, 96), edge(150, 105, 20);
  p.setPen(QPen(edge, 1));
  p.setBrush(back);
  QPainterPath tab;
  tab.moveTo(3, 8);
  tab.lineTo(12, 8);
  tab.lineTo(15, 11);
  tab.lineTo(29, 11);
  tab.lineTo(29, 26);
  tab.lineTo(3, 26);
  tab.closeSubpath();
  p.drawPath(tab);
  if (open) {
    // A sheet standing in the folder, and the front tilted open.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 9, 18, 12));
    p.setBrush(front);
    QPolygonF flap({QPointF(1, 15), QPointF(25, 15), QPointF(30, 27), QPointF(5, 27)});
    p.drawPolygon(flap);
  } else {
    p.setBrush(front);
    p.drawRect(QRectF(3, 14, 26, 13));
  }
}

// A sheet of text with a folded corner and lines of writing.
void DrawSheet(QPainter& p, const QColor& lines) {
  const QColor edge(90, 90, 110);
  p.setPen(QPen(edge, 1));
  p.setBrush(Qt::white);
  QPainterPath sheet;
  sheet.moveTo(7, 3);
  sheet.lineTo(20, 3);
  sheet.lineTo(26, 9);
  sheet.lineTo(26, 29);
  sheet.lineTo(7, 29);
  sheet.closeSubpath();
  p.drawPath(sheet);
  p.setBrush(QColor(215, 215, 225));
  p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(20, 9), QPointF(26, 9)}));
  p.setPen(QPen(lines, 1.5));
  for (int y = 12; y <= 26; y += 4) p.drawLine(QPointF(10, y), QPointF(y == 26 ? 18 : 23, y));
}

void DrawPlus(QPainter& p) {
  p.setPen(QPen(QColor(20, 110, 30), 1));
  p.setBrush(QColor(60, 180, 70));
  p.drawEllipse(QRectF(17, 17, 14, 14));
  p.setPen(QPen(Qt::white, 2.5));
  p.drawLine(QPointF(24, 20), QPointF(24, 28));
  p.drawLine(QPointF(20, 24), QPointF(28, 24));
}

// A wrench across a folder: putting the library in order.
void DrawWrench(QPainter& p) {
  p.setPen(QPen(QColor(70, 70, 80), 1));
  p.setBrush(QColor(160, 165, 175));
  p.save();
  p.translate(22, 21);
  p.rotate(-45);
  p.drawRoundedRect(QRectF(-2, -1, 13, 4), 1.5, 1.5);
  p.drawEllipse(QRectF(-8, -4.5, 9, 11));
  p.setBrush(QColor(250, 206, 96));
  p.drawRect(QRectF(-6.5, -1.5, 4, 5));
  p.restore();
}

// An open book with a large letter: learning words.
void DrawBook(QPainter& p) {
  const QColor cover(40, 90, 170), page(255, 253, 240);
  p.setPen(QPen(cover.darker(140), 1));
  p.setBrush(cover);
  p.drawRoundedRect(QRectF(2, 7, 28, 20), 2, 2);
  p.setBrush(page);
  p.drawPolygon(QPolygonF({QPointF(4, 8), QPointF(15.5, 10), QPointF(15.5, 25), QPointF(4, 23)}));
  p.drawPolygon(QPolygonF({QPointF(28, 8), QPointF(16.5, 10), QPointF(16.5, 25), QPointF(28, 23)}));
  QFont font(QStringLiteral("sans-serif"));
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(200, 40, 40));
  p.drawText(QRectF(4, 10, 11, 13), Qt::AlignCenter, QStringLiteral("A"));
  p.setPen(QColor(40, 40, 40));
  p.drawText(QRectF(17, 10, 11, 13), Qt::AlignCenter, QStringLiteral("词"));
}

QPixmap DrawImage(int index) {
  QImage image(MaterialTreeWidget::kImageSize, MaterialTreeWidget::kImageSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case kImageCollapsed: DrawFolder(p, false); break;
    case kImageExpanded: DrawFolder(p, true); break;
    case kImagePlain: DrawSheet(p, QColor(70, 110, 190)); break;
    case kImageAddMaterial:
      DrawSheet(p, QColor(150, 150, 160));
      DrawPlus(p);
      break;
    case kImageManageMaterials:
      DrawFolder(p, false);
      DrawWrench(p);
      break;
    case kImageLearnWords: DrawBook(p); break;
    default: break;
  }
  p.end();
  return QPixmap::fromImage(image);
}

QIcon IconOf(int index) {
  // The selected image is always the normal one.
  QIcon icon;
  icon.addPixmap(MaterialTreeWidget::Image(index), QIcon::Normal);
  icon.addPixmap(MaterialTreeWidget::Image(index), QIcon::Selected);
  icon.addPixmap(MaterialTreeWidget::Image(index), QIcon::Active);
  return icon;
}

}  // namespace

MaterialTreeWidget::MaterialTreeWidget(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setIconSize(QSize(kImageSize, kImageSize));
  setIndentation(kIndent);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setMouseTracking(true);
  setExpandsOnDoubleClick(true);
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { RefreshImage(item); });
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { RefreshImage(item); });
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    // Only a click on the label or the icon of a material opens it.
    if (m_materialPointer && item) emit materialClicked(item);
  });
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!item) return;
    MaterialTreeEntry entry;
    entry.kind = KindOf(item);
    const DoubleClickAction action = DoubleClickActionFor(entry);
    if (action != DoubleClickAction::None) emit actionRequested(action, QCursor::pos());
  });
}

const QPixmap& MaterialTreeWidget::Image(int index) {
  static const std::array<QPixmap, kImageCount> images = [] {
    std::array<QPixmap, kImageCount> drawn;
    for (int i = 0; i < kImageCount; ++i) drawn[static_cast<size_t>(i)] = DrawImage(i);
    return drawn;
  }();
  return images.at(static_cast<size_t>(std::clamp(index, 0, kImageCount - 1)));
}

int MaterialTreeWidget::ImageIndexOf(const QTreeWidgetItem* item) { return item->data(0, kImageRole).toInt(); }

TreeEntryKind MaterialTreeWidget::KindOf(const QTreeWidgetItem* item) {
  return static_cast<TreeEntryKind>(item->data(0, kKindRole).toInt());
}

std::string MaterialTreeWidget::RelativePathOf(const QTreeWidgetItem* item) {
  std::vector<std::string> texts;
  for (const QTreeWidgetItem* at = item; at; at = at->parent()) {
    const QByteArray gbk = at->data(0, kGbkTextRole).toByteArray();
    texts.insert(texts.begin(), std::string(gbk.constData(), static_cast<size_t>(gbk.size())));
  }
  return MaterialRelativePath(texts);
}

void MaterialTreeWidget::Rebuild(const std::vector<MaterialTreeEntry>& entries) {
  setUpdatesEnabled(false);
  m_hotItem = nullptr;
  m_materialPointer = false;
  clear();
  for (const MaterialTreeEntry& entry : entries) AddEntry(entry, nullptr);
  setUpdatesEnabled(true);
}

void MaterialTreeWidget::AddEntry(const MaterialTreeEntry& entry, QTreeWidgetItem* parent) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  item->setText(0, FromGbk(entry.text));
  item->setData(0, kGbkTextRole, QByteArray(entry.text.data(), static_cast<qsizetype>(entry.text.size())));
  item->setData(0, kKindRole, static_cast<int>(entry.kind));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  for (const MaterialTreeEntry& child : entry.children) AddEntry(child, item);
  item->setData(0, kImageRole, entry.ImageIndex(ExpandState::Collapsed));
  item->setIcon(0, IconOf(entry.ImageIndex(ExpandState::Collapsed)));
}

void MaterialTreeWidget::RefreshImage(QTreeWidgetItem* item) {
  if (item->childCount() == 0) return;
  const int index = item->isExpanded() ? kImageExpanded : kImageCollapsed;
  item->setData(0, kImageRole, index);
  item->setIcon(0, IconOf(index));
}

QRect MaterialTreeWidget::LabelAndIconRect(const QTreeWidgetItem* item) const {
  const QModelIndex index = indexFromItem(item);
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  option.index = index;
  option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
  option.text = item->text(0);
  option.icon = item->icon(0);
  option.decorationSize = iconSize();
  const QRect icon = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
  QRect label = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1;
  label.setWidth(QFontMetrics(item->font(0)).horizontalAdvance(option.text) + 2 * margin);
  return icon.united(label).intersected(option.rect);
}

void MaterialTreeWidget::UpdatePointerFlag(QPoint viewportPoint) {
  QTreeWidgetItem* item = itemAt(viewportPoint);
  const bool onEntry = item && LabelAndIconRect(item).contains(viewportPoint);
  const bool material = onEntry && IsMaterialPointerEntry(item->data(0, kGbkTextRole).toByteArray().toStdString());
  QTreeWidgetItem* hot = material ? item : nullptr;
  m_materialPointer = material;
  if (hot == m_hotItem) return;
  // The hot-tracking look: the pointed material's label is underlined, with a hand pointer.
  if (m_hotItem) {
    QFont plain = m_hotItem->font(0);
    plain.setUnderline(false);
    m_hotItem->setFont(0, plain);
  }
  m_hotItem = hot;
  if (m_hotItem) {
    QFont underlined = m_hotItem->font(0);
    underlined.setUnderline(true);
    m_hotItem->setFont(0, underlined);
    viewport()->setCursor(Qt::PointingHandCursor);
  } else {
    viewport()->unsetCursor();
  }
}

void MaterialTreeWidget::mouseMoveEvent(QMouseEvent* event) {
  UpdatePointerFlag(event->position().toPoint());
  QTreeWidget::mouseMoveEvent(event);
}

void MaterialTreeWidget::mousePressEvent(QMouseEvent* event) {
  // A press always comes with the pointer where it is; the flag follows it even when no move
  // was reported before.
  UpdatePointerFlag(event->position().toPoint());
  QTreeWidget::mousePressEvent(event);
}

void MaterialTreeWidget::leaveEvent(QEvent* event) {
  UpdatePointerFlag(QPoint(-1, -1));
  QTreeWidget::leaveEvent(event);
}

}  // namespace duvelin
