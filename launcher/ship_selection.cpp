// The ship selection window: the eight classes with their values, the picture of the
// selected one, and the players' choices.
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTableWidget>
#include <QWidget>
#include <algorithm>
#include <array>
#include <functional>

#include "launcher/controls.h"
#include "launcher/launcher.h"
#include "launcher/launcher_resources.h"
#include "launcher/number_text.h"
#include "launcher/ship_choice.h"

using namespace launcher_ids;

namespace {

struct Column {
  const char* title;
  int width;                 // its share of the list's width
  float SchiffsTyp::*value;  // none for the row title
};

constexpr std::array<Column, 9> kColumns = {{
    {"Schiff", 60, nullptr},
    {"Beschleunigung", 90, &SchiffsTyp::Beschleunigung},
    {"Health", 45, &SchiffsTyp::Health},
    {"SchussSpeed", 80, &SchiffsTyp::SchussTempo},
    {"TopSpeed", 62, &SchiffsTyp::TopSpeed},
    {"Kanonen", 60, &SchiffsTyp::KanonenAnzahl},
    {"Schaden", 60, &SchiffsTyp::Schaden},
    {"Wendigkeit", 70, &SchiffsTyp::Manoevrierfaehigkeit},
    {"Nachladezeit", 76, &SchiffsTyp::Nachladezeit},
}};

// Only a double click of the left button chooses a ship; one of another button is taken as a
// second press of that button. Return and keypad Enter choose the selected row, as "Start".
class ShipList : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;
  std::function<void()> onReturn;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onReturn) {
      if (!event->isAutoRepeat()) onReturn();
      return;
    }
    QTableWidget::keyPressEvent(event);
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      QTableWidget::mouseDoubleClickEvent(event);
    } else {
      mousePressEvent(event);
    }
  }
};

// The width inside the frame, less a vertical scroll bar when the rows need one.
int usableWidth(const QTableWidget* list) {
  const int inside = list->height() - 2 * list->frameWidth();
  const int rows = list->verticalHeader()->length() + list->horizontalHeader()->sizeHint().height();
  const int bar = rows > inside ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  return list->width() - 2 * list->frameWidth() - bar;
}

// Every column as wide as its title and its widest value need; the width to spare is shared
// in proportion to the columns' usual widths. Values too wide for the list altogether make
// it scroll sideways rather than cut them.
void fitColumns(QTableWidget* list) {
  std::array<int, kColumns.size()> needed{};
  int usual = 0;
  int total = 0;
  const QAbstractItemView* view = list;  // where the hint is public
  for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
    needed[c] = std::max(view->sizeHintForColumn(c), list->horizontalHeader()->sectionSizeHint(c));
    usual += kColumns[c].width;
    total += needed[c];
  }
  const int spare = std::max(0, usableWidth(list) - total);
  int given = 0;
  for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
    const bool last = c + 1 == static_cast<int>(kColumns.size());
    const int share = last ? spare - given : spare * kColumns[c].width / usual;
    given += share;
    list->setColumnWidth(c, needed[c] + share);
  }
}

ShipList* createShipList(QWidget* parent) {
  auto* list = new ShipList(kKlassenAnzahl, static_cast<int>(kColumns.size()), parent);
  list->verticalHeader()->hide();
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setWordWrap(false);
  list->horizontalHeader()->setHighlightSections(false);
  // Rows as high as a line of the list's font, so that all eight show at once.
  list->verticalHeader()->setMinimumSectionSize(1);
  list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
  for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
    list->setHorizontalHeaderItem(c, new QTableWidgetItem(kColumns[c].title));
  }
  for (int row = 0; row < kKlassenAnzahl; ++row) {
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
      list->setItem(row, c, new QTableWidgetItem);
    }
    list->item(row, 0)->setText(QStringLiteral("Schiff %1").arg(row + 1));
  }
  return list;
}

}  // namespace

void Launcher::createShipSelection() {
  QWidget* window =
      controls_->createWindow(kShipSelectionWindow, QString(), {765, 210}, QColor(197, 197, 197));
  ShipList* list = controls_->add(kShipList, createShipList(window), QRect(5, 5, 600, 200));
  list->onReturn = [this] { controls_->report(kStartButton); };
  // Every click makes the loop turn at once, so the picture follows without delay.
  QObject::connect(list, &QTableWidget::cellClicked, [this] { controls_->report(kShipList); });
  QObject::connect(list, &QTableWidget::cellDoubleClicked,
                   [this] { controls_->report(kShipList, true); });
  controls_->createPicture(window, kClassPicture, {610, 5}, resources_->pictures[1]);
  controls_->createButton(window, kStartButton, QRect(700, 175, 60, 30), "Start");
}

void Launcher::fillShipList() { fillShipList(::loadShipClasses(store_, settingsFile_)); }

void Launcher::fillShipList(const std::array<SchiffsTyp, kKlassenAnzahl>& classes) {
  auto* list = controls_->get<QTableWidget>(kShipList);
  for (int row = 0; row < kKlassenAnzahl; ++row) {
    for (int c = 1; c < static_cast<int>(kColumns.size()); ++c) {
      const float value = classes[row].*kColumns[c].value;
      list->item(row, c)->setText(QString::fromStdString(classValueText(value)));
    }
  }
  fitColumns(list);
}

void Launcher::chooseShip() {
  if (network_) {
    if (selection_ >= 0) networkChoice_ = selection_;
    return;
  }
  ::chooseShip(spiel_, selection_, choices_);
}

void Launcher::updateShipSelection() {
  if (selection_ >= 0 && selection_ + 1 != shownPicture_) {
    shownPicture_ = selection_ + 1;
    controls_->get<QLabel>(kClassPicture)->setPixmap(resources_->pictures[shownPicture_]);
  }
  if (network_) return;  // its title stays
  if (const std::optional<std::string_view> title = shipSelectionTitle(choices_)) {
    QWidget* window = controls_->window(kShipSelectionWindow);
    const QString text = QString::fromUtf8(title->data(), static_cast<qsizetype>(title->size()));
    if (window->windowTitle() != text) window->setWindowTitle(text);
  }
}
