#include "launcher/replay_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "launcher/controls.h"
#include "launcher/launcher.h"
#include "launcher/message_box.h"
#include "launcher/translated.h"
#include "replay/replay_folder.h"
#include "replay/replay_texts.h"

namespace {

constexpr int kReplayFramesPerSecond = 60;
constexpr int kPathRole = Qt::UserRole;

std::string shipName(const Schiff& schiff) {
  return filledIn(translatedText("Replays", "Schiff %1"), {std::to_string(schiff.Klasse + 1)});
}

QTableWidgetItem* cell(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

// Hands the key presses of the widgets it watches to `take`, which says whether it took one.
class KeyFilter : public QObject {
 public:
  KeyFilter(QObject* parent, std::function<bool(QObject*, int)> take)
      : QObject(parent), take_(std::move(take)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    return event->type() == QEvent::KeyPress &&
           take_(watched, static_cast<QKeyEvent*>(event)->key());
  }

 private:
  std::function<bool(QObject*, int)> take_;
};

}  // namespace

ReplayLine replayLine(const Replay& replay) {
  const StartRecord& start = replay.start;
  ReplayLine line;
  const bool alone = start.SpielModus == kEinzelspieler;
  line.mode = alone ? translatedText("Replays", "Einzelspieler")
                    : translatedText("Replays", "2 Spieler VS");
  line.ships = shipName(start.Flotte[0]) + translatedText("Replays", " gegen ");
  const int others = alone ? start.Gegneranzahl : 1;
  for (int i = 1; i <= others; ++i)
    line.ships += (i > 1 ? ", " : "") + shipName(start.Flotte[static_cast<size_t>(i)]);
  line.result = replay.result.empty() ? translatedText("Replays", "offen") : replay.result;
  const size_t seconds = replay.inputs.size() / kReplayFramesPerSecond;
  char length[32];
  std::snprintf(length, sizeof length, "%zu:%02zu", seconds / 60, seconds % 60);
  line.length = length;
  return line;
}

ReplayWindow::ReplayWindow(std::string folder, const QFont& font)
    : folderPath_(std::move(folder)),
      window_(std::make_unique<QWidget>()),
      opener_([](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
      }) {
  QWidget* window = window_.get();
  window->setWindowTitle(translated("Replays", "Wiederholungen"));
  window->setFont(font);
  auto* column = new QVBoxLayout(window);
  list_ = new QTableWidget(0, 5, window);
  list_->setHorizontalHeaderLabels({translated("Replays", "Datum"), translated("Replays", "Art"),
                                    translated("Replays", "Schiffe"),
                                    translated("Replays", "Ergebnis"),
                                    translated("Replays", "Länge")});
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setStretchLastSection(false);
  column->addWidget(list_);
  auto* buttons = new QHBoxLayout;
  watch_ = new QPushButton(translated("Replays", "Ansehen"), window);
  delete_ = new QPushButton(translated("Replays", "Löschen"), window);
  folder_ = new QPushButton(translated("Replays", "Ordner öffnen"), window);
  buttons->addWidget(watch_);
  buttons->addWidget(delete_);
  buttons->addStretch(1);
  buttons->addWidget(folder_);
  column->addLayout(buttons);
  QObject::connect(watch_, &QPushButton::clicked, [this] { watchSelected(); });
  QObject::connect(list_, &QTableWidget::cellDoubleClicked, [this] { watchSelected(); });
  QObject::connect(delete_, &QPushButton::clicked, [this] { deleteSelected(); });
  QObject::connect(folder_, &QPushButton::clicked, [this] { openFolder(); });
  // Escape closes the window from any of its controls; Return or Enter on the list watches
  // the row chosen, as a double click does.
  auto* keys = new KeyFilter(window, [this](QObject* from, int key) {
    if (key == Qt::Key_Escape) {
      hide();
      return true;
    }
    if (from != list_ || (key != Qt::Key_Return && key != Qt::Key_Enter)) return false;
    watchSelected();
    return true;
  });
  window->installEventFilter(keys);
  list_->installEventFilter(keys);
  window->resize(640, 360);
}

ReplayWindow::~ReplayWindow() = default;

void ReplayWindow::show() {
  fill();
  if (!window_->isVisible()) {  // in the middle of the screen, as the launcher's windows
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      window_->move(screen->availableGeometry().center() - window_->rect().center());
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void ReplayWindow::hide() { window_->hide(); }

// The newest first. A file that cannot be read keeps its line, to be deleted; replays of
// another build are listed with what they hold and refused only when watched.
void ReplayWindow::fill() {
  list_->setRowCount(0);
  for (const std::string& path : replayFiles(folderPath_)) {
    const int row = list_->rowCount();
    list_->insertRow(row);
    // The time the name was given at recording: copying the folder keeps it, and the list's
    // order is the names'.
    std::tm named{};
    const QDateTime written =
        replayNameTime(path, named)
            ? QDateTime(QDate(named.tm_year + 1900, named.tm_mon + 1, named.tm_mday),
                        QTime(named.tm_hour, named.tm_min, named.tm_sec))
            : QFileInfo(QString::fromStdString(path)).lastModified();
    QTableWidgetItem* date =
        cell(written.toString(translated("Replays", "dd.MM.yyyy HH:mm")).toStdString());
    date->setData(kPathRole, QString::fromStdString(path));
    list_->setItem(row, 0, date);
    const ReplayReading reading = loadReplay(path, true);
    const ReplayLine line = reading.replay
                                ? replayLine(*reading.replay)
                                : ReplayLine{translatedText("Replays", "unlesbar"), "", "", ""};
    const std::string texts[] = {line.mode, line.ships, line.result, line.length};
    for (int c = 0; c < 4; ++c) {
      QTableWidgetItem* item = cell(texts[c]);
      if (!reading.replay)
        item->setToolTip(QString::fromStdString(replayProblemText(reading, path)));
      list_->setItem(row, c + 1, item);
    }
  }
  list_->resizeColumnsToContents();
  list_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);  // the ships
  if (list_->rowCount() > 0) list_->selectRow(0);
}

std::string ReplayWindow::selectedFile() const {
  const QList<QTableWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return {};
  const QTableWidgetItem* first = list_->item(selected.front()->row(), 0);
  return first->data(kPathRole).toString().toStdString();
}

void ReplayWindow::watchSelected() {
  const std::string path = selectedFile();
  if (path.empty()) return;
  const ReplayReading reading = loadReplay(path);
  if (!reading.replay) {
    showProblem(window_.get(), translatedText("Replays", "Wiederholungen"),
                replayProblemText(reading, path));
    return;
  }
  chosen_ = path;
}

void ReplayWindow::deleteSelected() {
  const std::string path = selectedFile();
  if (path.empty()) return;
  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (ec)
    showProblem(window_.get(), translatedText("Replays", "Wiederholungen"),
                filledIn(translatedText("Replays", "%1 lässt sich nicht löschen: %2"),
                         {path, ec.message()}));
  const int row = list_->currentRow();
  fill();
  if (list_->rowCount() > 0) list_->selectRow(std::min(std::max(row, 0), list_->rowCount() - 1));
}

// The folder is made first, so that the file manager has something to open before the first
// battle.
void ReplayWindow::openFolder() {
  std::error_code ec;
  std::filesystem::create_directories(folderPath_, ec);
  const std::string folder =
      QFileInfo(QString::fromStdString(folderPath_)).absoluteFilePath().toStdString();
  if (!opener_(folder))
    showProblem(
        window_.get(), translatedText("Replays", "Wiederholungen"),
        filledIn(translatedText("Replays", "Der Ordner %1 lässt sich nicht öffnen."), {folder}));
}

// The launcher window's own controls stay as they are: the way in is its context menu and a
// shortcut, both named in the title picture's tooltip.
void Launcher::createReplayWindow() {
  using namespace launcher_ids;
  QWidget* launcher = controls_->window(kLauncherWindow);
  replayWindow_ =
      std::make_unique<ReplayWindow>(replayFolderBeside(settingsFile_), launcher->font());
  auto* open = new QAction(translated("Replays", "Wiederholungen …"), launcher);
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  QObject::connect(open, &QAction::triggered, [this] { replayWindow_->show(); });
  launcher->addAction(open);
  launcher->setContextMenuPolicy(Qt::ActionsContextMenu);
  controls_->control(kTitlePicture)
      ->setToolTip(translated("Replays", "Rechtsklick oder Strg+R: Wiederholungen ansehen"));
}
