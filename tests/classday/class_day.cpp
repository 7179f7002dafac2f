// A class day in the real program: the program's own App, views and services in real
// windows (an X server with a window manager, tests/classday/run.sh), driven by mouse
// clicks and key presses on the widgets a user would use. A teacher sets an exam up, a
// class takes it, two students take a test, the teacher reads the report. After every
// step every window is on the screen with its title bar and buttons, the start window
// keeps its size, the report holds one record per student and nothing was printed on
// stderr.

#include "common/settings_file.h"
#include "exam_content/folder_chooser.h"
#include "exam_content/ticket_editor.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "gui/icon.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_shell.h"
#include "gui/report_text_view.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "platform/application_folder.h"
#include "platform/system_services.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "test_support.h"
#include "tester/tester_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// Everything written to stderr (Qt's warnings, a sanitizer's report) goes through a pipe:
// it still reaches the real stderr, and each step takes what came during it.
class StderrWatch {
public:
    StderrWatch() {
        int ends[2];
        if (::pipe(ends) != 0) return;
        std::fflush(stderr);
        original_ = ::dup(2);
        ::dup2(ends[1], 2);
        ::close(ends[1]);
        readEnd_ = ends[0];
        reader_ = std::thread([this] { read(); });
    }
    ~StderrWatch() {
        if (readEnd_ < 0) return;
        std::fflush(stderr);
        ::dup2(original_, 2); // the last write end closes: the reader sees the end
        reader_.join();
        ::close(readEnd_);
        ::close(original_);
    }
    StderrWatch(const StderrWatch&) = delete;
    StderrWatch& operator=(const StderrWatch&) = delete;

    // What was printed since the last call. A marker written now comes back through the
    // pipe after everything written before it.
    std::string take() {
        if (readEnd_ < 0) return "stderr could not be watched";
        std::fflush(stderr);
        std::unique_lock lock(mutex_);
        const int asked = ++asked_;
        lock.unlock();
        const ssize_t written = ::write(2, kMarker, sizeof kMarker - 1);
        lock.lock();
        if (written != ssize_t(sizeof kMarker - 1)) return "stderr could not be watched";
        seen_.wait(lock, [&] { return markers_ >= asked; });
        return std::exchange(text_, {});
    }

private:
    static constexpr char kMarker[] = "\x01"
                                      "class-day-step"
                                      "\x01";

    void read() {
        std::string pending;
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::read(readEnd_, buffer, sizeof buffer)) > 0) {
            pending.append(buffer, std::size_t(got));
            for (;;) {
                const std::size_t marker = pending.find('\x01');
                const std::string before = pending.substr(0, marker);
                if (!before.empty()) {
                    (void)!::write(original_, before.data(), before.size());
                    const std::scoped_lock lock(mutex_);
                    text_ += before;
                }
                pending.erase(0, before.size());
                if (pending.size() < sizeof kMarker - 1) break;
                pending.erase(0, sizeof kMarker - 1);
                const std::scoped_lock lock(mutex_);
                ++markers_;
                seen_.notify_all();
            }
        }
    }

    int original_ = -1;
    int readEnd_ = -1;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable seen_;
    std::string text_;
    int asked_ = 0;
    int markers_ = 0;
};

StderrWatch* stderrWatch = nullptr;

// The day's clock: the real time, moved on by the test when it hurries a countdown.
class DayClock final : public platform::Clock {
public:
    QDateTime now() override { return QDateTime::currentDateTime().addMSecs(ahead); }
    qint64 ahead = 0;
};

// Waits, handling events (and so message boxes), until `done` or `ms` have passed.
template <class Condition> bool waitFor(Condition done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(10);
    }
    return true;
}

// Key presses for each character, Cyrillic ones too (QTest::keyClicks takes Latin-1
// alone): the key is the character's capital, as keyboards report letters.
void typeText(QWidget* field, const QString& text) {
    for (const QChar c : text) {
        const int key = c == QLatin1Char('\n') ? int(Qt::Key_Return) : int(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key(key), QString(c), Qt::NoModifier);
    }
}

// How long a window manager may take to frame a new window on a busy machine.
constexpr int kFrameWait = 10000;

bool isProgramWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return widget->isVisible() && (type == Qt::Window || type == Qt::Dialog);
}

// The frame the window manager put round a window, as the X server has it: the window's
// ancestor just below the root, in the application's (scaled) pixels. Nothing while the
// window is not framed. (Qt's frameGeometry() may keep margins it read before the window
// manager took the window.)
std::optional<QRectF> frameOnScreen(const QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window->windowHandle()) return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const auto own = xcb_window_t(window->winId());
    xcb_window_t top = own;
    for (;;) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, top), nullptr);
        if (!tree) return std::nullopt;
        const xcb_window_t parent = tree->parent;
        const xcb_window_t root = tree->root;
        std::free(tree);
        if (parent == root || parent == XCB_NONE) break;
        top = parent;
    }
    if (top == own) return std::nullopt;
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, top), nullptr);
    if (!geometry) return std::nullopt;
    const int border = geometry->border_width;
    const QRectF frame(geometry->x, geometry->y, geometry->width + 2 * border,
                       geometry->height + 2 * border);
    std::free(geometry);
    const qreal ratio = window->windowHandle()->devicePixelRatio();
    return QRectF(frame.topLeft() / ratio, frame.size() / ratio);
}

bool framed(const QWidget* window) { return frameOnScreen(window).has_value(); }

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// What is wrong with a window's place: its frame off the free area of the screen, or a
// button of it hidden or off the screen.
QStringList offScreen(const QWidget* window) {
    QStringList faults;
    // A full-screen window (the picture viewer) has no frame and covers the panels too.
    const bool fullScreen = window->windowState().testFlag(Qt::WindowFullScreen);
    const QRect area =
        fullScreen ? window->screen()->geometry() : window->screen()->availableGeometry();
    QString title = window->windowTitle();
    if (auto* view = dynamic_cast<const gui::View*>(window))
        title += QStringLiteral(" (%1)").arg(view->model().name());
    if (!framed(window)) faults << title + QStringLiteral(": no frame from the window manager");
    const QRectF frame = frameOnScreen(window).value_or(QRectF(window->geometry()));
    // Scaled, the frame's margins are rounded to whole pixels of the application (at 150 %
    // a 20-pixel title bar is 13.33 of them): a window may reach that rounding beyond.
    const qreal slack = window->devicePixelRatioF() > 1 ? 1.5 : 0.5;
    if (!QRectF(area).adjusted(-slack, -slack, slack, slack).contains(frame)) {
        faults << QStringLiteral("%1 at %2 is not within the screen's %3")
                      .arg(title, describe(frame.toRect()), describe(area));
    }
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisible()) continue;
        const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
        if (!area.contains(onScreen) ||
            !window->rect().contains(QRect(button->mapTo(window, QPoint(0, 0)), button->size())))
            faults << QStringLiteral("%1: button \"%2\" at %3 is off the screen")
                          .arg(title, button->text(), describe(onScreen));
    }
    return faults;
}

// Answers modal windows as a user would: a message box is read and its OK pressed with
// Enter, an open-file dialog gets the file the test has queued for it.
class ModalHandler : public QObject {
public:
    ModalHandler() {
        connect(&poll_, &QTimer::timeout, this, [this] { handle(); });
        poll_.start(20);
    }

    QStringList messages;      // texts of the message boxes answered
    QStringList faults;        // message boxes that were not on the screen
    std::deque<QString> files; // answers for the open-file dialogs

private:
    void handle() {
        if (busy_) return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !modal->windowHandle() ||
            !modal->windowHandle()->isExposed())
            return;
        if (modal != current_) {
            current_ = modal;
            seenSince_.restart();
        }
        // Its place is judged once the window manager has framed it.
        if (!framed(modal) && seenSince_.elapsed() < kFrameWait) return;
        busy_ = true;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            faults << offScreen(box);
            messages << box->text();
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name && !files.empty()) {
                const QString file = files.front();
                files.pop_front();
                typeText(name, file);
                QTest::keyClick(name, Qt::Key_Return);
                // Where a folder shares the file's name, the dialog may only open the folder
                // (as it does for a user): the name is typed again there.
                if (dialog->isVisible()) {
                    typeText(name, QFileInfo(file).fileName());
                    QTest::keyClick(name, Qt::Key_Return);
                }
            } else {
                faults << QStringLiteral("an unexpected file dialog");
                dialog->reject();
            }
        }
        busy_ = false;
    }

    QTimer poll_;
    QPointer<QWidget> current_;
    QElapsedTimer seenSince_;
    bool busy_ = false;
};

struct Student {
    QString name;
    QString data; // the first line of additional data, or nothing
    bool knows;   // answers every question right, or every one wrong
    bool timed = false;
};

// The program as main.cpp assembles it, on a fresh application folder filled from the
// sample data, and the hands of its users.
class ClassDay {
public:
    ClassDay() {
        seeded_ = platform::prepareApplicationFolder(
                      {folder_.path(), platform::FolderSource::CommandLine},
                      QStringLiteral(PROVERON_DATA_DIR))
                      .problem == platform::FolderProblem::None;
        QImage picture(160, 120, QImage::Format_RGB32);
        picture.fill(QColor(0x2e, 0x7d, 0x32));
        picturePath_ = pictures_.filePath(QStringLiteral("карта.bmp"));
        picture.save(picturePath_, "BMP");
        shots_ = qEnvironmentVariable("CLASSDAY_SHOTS");
        keepGoing_ = qEnvironmentVariableIntValue("CLASSDAY_KEEP_GOING") != 0;
        app_ = std::make_unique<App>(
            folder_.path(), platform::Services{dialogs_, shell_, clipboard_, clock_, random_,
                                               screen_, platform::UserLocale::system()});
        shellLanguage_ = app_.get();
        views_ = std::make_unique<gui::ViewManager>(*app_, gui::programWindows());
        app_->userEvent([this] { gui::programWindows().start(*app_); });
    }
    ~ClassDay() {
        shellLanguage_ = nullptr;
        views_.reset();
        app_.reset();
    }

    bool ready() const { return seeded_ && !app_->ended(); }
    App& app() { return *app_; }
    template <class W> W& window() {
        W* loaded = app_->loaded<W>();
        EXPECT_TRUE(loaded) << W::kName << " is not open";
        return loaded ? *loaded : app_->window<W>();
    }
    QString path(const QString& relative) const { return folder_.filePath(relative); }
    const QString& picture() const { return picturePath_; }

    // --- The hands ---

    // The view drawing a window, or null while it is not drawn.
    gui::View* view(const forms::Window& window) const {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* found = dynamic_cast<gui::View*>(widget);
            if (found && &found->model() == &window) return found;
        }
        return nullptr;
    }
    QWidget* widget(const forms::Control& control) const {
        gui::View* drawn = view(control.window());
        return drawn ? drawn->widgetOf(control) : nullptr;
    }
    // A mouse click where a user would click, through the window system.
    void clickAt(QWidget* target, QPoint point) {
        QWidget* top = target->window();
        activate(top);
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          target->mapTo(top, point));
        QTest::qWait(5);
    }
    void press(QWidget* target) {
        ASSERT_TRUE(target);
        ASSERT_TRUE(waitFor([&] { return target->isVisible() && target->isEnabled(); }))
            << "cannot be used: " << target->metaObject()->className() << " "
            << describeWidget(target).toStdString();
        clickAt(target, clickPoint(target));
    }
    void press(const forms::Control& control) {
        QWidget* target = widget(control);
        ASSERT_TRUE(target) << control.window().name().toStdString() << "."
                            << control.name().toStdString() << " is not drawn";
        press(target);
    }
    // Clicks into the field, selects what it holds and types over it.
    void typeInto(const forms::Control& control, const QString& text) {
        QWidget* field = widget(control);
        ASSERT_TRUE(field) << control.name().toStdString() << " is not drawn";
        press(field);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        } else {
            typeText(field, text);
        }
    }
    void pressEnter(const forms::Window& window) {
        gui::View* drawn = view(window);
        ASSERT_TRUE(drawn);
        activate(drawn);
        QTest::keyClick(drawn->windowHandle(), Qt::Key_Return);
    }
    // Clicks the row showing `text` in a list (answers, folders); a folder opens with a
    // double-click.
    void pickRow(const forms::Control& control, const QString& text) {
        auto* list = qobject_cast<QListWidget*>(widget(control));
        ASSERT_TRUE(list) << control.name().toStdString() << " is no list";
        QListWidgetItem* row = nullptr;
        for (int i = 0; i < list->count() && !row; ++i) {
            if (list->item(i)->text().trimmed() == text) row = list->item(i);
        }
        ASSERT_TRUE(row) << "no row " << text.toStdString() << " in "
                         << control.name().toStdString();
        list->scrollToItem(row);
        const QPoint center = list->visualItemRect(row).center();
        if (!dynamic_cast<const forms::FolderList*>(&control)) {
            clickAt(list->viewport(), center);
            return;
        }
        QWidget* top = list->window();
        activate(top);
        QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                           list->viewport()->mapTo(top, center));
        QTest::qWait(5);
    }
    // Opens a drop-down list and clicks its entry `text`.
    void pickEntry(const forms::Control& control, const QString& text) {
        auto* combo = qobject_cast<QComboBox*>(widget(control));
        ASSERT_TRUE(combo) << control.name().toStdString() << " is no drop-down list";
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        QStyleOptionComboBox arrow;
        arrow.initFrom(combo);
        arrow.editable = combo->isEditable();
        arrow.subControls = QStyle::SC_All;
        const QRect button = combo->style()->subControlRect(QStyle::CC_ComboBox, &arrow,
                                                            QStyle::SC_ComboBoxArrow, combo);
        ASSERT_TRUE(waitFor([&] { return combo->isVisible() && combo->isEnabled(); }));
        clickAt(combo, button.center());
        QAbstractItemView* popup = combo->view();
        ASSERT_TRUE(waitFor([&] { return popup->isVisible(); })) << "the list did not open";
        const QModelIndex entry = popup->model()->index(index, combo->modelColumn());
        popup->scrollTo(entry);
        clickAt(popup->viewport(), popup->visualRect(entry).center());
        EXPECT_TRUE(waitFor([&] { return !popup->isVisible(); }));
    }

    // --- What every step checks ---

    // The messages the step is expected to show, in order.
    void expectMessages(QStringList texts) { expectedMessages_ = std::move(texts); }
    void expectRecords(int count) { records_ = count; }

    // Every window on the screen with its frame and buttons; the expected messages and
    // nothing else; the report's records; a silent stderr. False stops the day.
    bool step(const QString& name) {
        SCOPED_TRACE(name.toStdString());
        QTest::qWait(20);
        const auto windows = [] {
            QList<QWidget*> shown;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (isProgramWindow(widget)) shown << widget;
            }
            return shown;
        };
        waitFor(
            [&] {
                for (QWidget* window : windows()) {
                    if (!framed(window)) return false;
                }
                return true;
            },
            kFrameWait);
        QTest::qWait(20); // the views place themselves once framed
        for (QWidget* window : windows()) {
            for (const QString& fault : offScreen(window))
                ADD_FAILURE() << fault.toStdString();
        }
        for (const QString& fault : std::exchange(modals_.faults, {}))
            ADD_FAILURE() << fault.toStdString();
        EXPECT_EQ(std::exchange(modals_.messages, {}), std::exchange(expectedMessages_, {}));
        EXPECT_EQ(recordsInReport(), records_) << "records in s/oth.txt";
        EXPECT_EQ(stderrWatch ? stderrWatch->take() : std::string(), "")
            << "printed on stderr during the step";
        const int failures =
            ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
        const bool failed = failures > failuresBefore_;
        failuresBefore_ = failures;
        if (shootingSetUp_ || failed) shoot(name);
        ++steps_;
        // CLASSDAY_KEEP_GOING=1 runs the whole day past a failed step, to see all faults.
        return !failed || keepGoing_;
    }
    // The start window with its ticket panel keeps the size it had the first time.
    void expectStartWindowSize(const QString& student) {
        gui::View* start = view(window<Form1>());
        ASSERT_TRUE(start);
        // The size the layout settles on once the panels shown are laid out.
        QSize settled;
        waitFor(
            [&] {
                const bool same = start->size() == settled;
                settled = start->size();
                QTest::qWait(30);
                return same && start->size() == settled;
            },
            1000);
        if (!startSize_.isValid()) startSize_ = start->size();
        EXPECT_TRUE(start->size() == startSize_)
            << "the start window for " << student.toStdString() << " is " << start->width() << "x"
            << start->height() << ", the first time " << startSize_.width() << "x"
            << startSize_.height();
    }
    void shootSetUp(bool on) { shootingSetUp_ = on && !shots_.isEmpty() && scaled(); }
    // The whole screen, into the folder CLASSDAY_SHOTS names (when it names one).
    void shoot(const QString& name) {
        if (shots_.isEmpty()) return;
        QTest::qWait(100); // a window just shown draws first
        QString file = QStringLiteral("%1-%2-%3.png")
                           .arg(scaled() ? QStringLiteral("150") : QStringLiteral("100"))
                           .arg(steps_, 3, 10, QLatin1Char('0'))
                           .arg(name);
        file.replace(QRegularExpression(QStringLiteral("[^\\w.-]+"),
                                        QRegularExpression::UseUnicodePropertiesOption),
                     QStringLiteral("_"));
        QDir().mkpath(shots_);
        QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(shots_).filePath(file));
    }
    static bool scaled() { return qEnvironmentVariable("QT_SCALE_FACTOR") == QLatin1String("1.5"); }

    // Countdowns of `window` run at a hundred times their speed, and the clock with them:
    // each tick still comes from the view's own timer, and the clock moves by the tick's
    // interval, so a minute passes in well under a second.
    void hurry(const forms::Window& window, const forms::Timer& timer) {
        gui::View* drawn = view(window);
        ASSERT_TRUE(drawn);
        int hurried = 0;
        for (QTimer* real : drawn->findChildren<QTimer*>()) {
            if (!real->isActive() || real->interval() != timer.interval()) continue;
            const qint64 step = real->interval();
            QObject::connect(real, &QTimer::timeout, drawn, [this, step] { clock_.ahead += step; });
            real->setInterval(std::max(1, int(step / 100)));
            ++hurried;
        }
        EXPECT_EQ(hurried, 1) << "the running countdown of " << window.name().toStdString();
    }

    std::deque<QString>& fileAnswers() { return modals_.files; }

    int recordsInReport() const {
        QFile report(folder_.filePath(QStringLiteral("s/oth.txt")));
        if (!report.open(QIODevice::ReadOnly)) return 0;
        return int(report.readAll().count("==================\r\r\n"));
    }
    QString reportText() const {
        QFile report(folder_.filePath(QStringLiteral("s/oth.txt")));
        return report.open(QIODevice::ReadOnly) ? gui::reportText(report.readAll()) : QString();
    }

private:
    static QString describeWidget(const QWidget* widget) {
        if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
        return widget->objectName();
    }
    // A check box or an option button is clicked on its box, anything else in its middle.
    static QPoint clickPoint(QWidget* target) {
        const bool check = qobject_cast<QCheckBox*>(target);
        if (check || qobject_cast<QRadioButton*>(target)) {
            QStyleOptionButton option;
            option.initFrom(target);
            return target->style()
                ->subElementRect(check ? QStyle::SE_CheckBoxIndicator
                                       : QStyle::SE_RadioButtonIndicator,
                                 &option, target)
                .center();
        }
        return target->rect().center();
    }
    // A user clicks into the window they work in; the window manager makes it active.
    static void activate(QWidget* top) {
        if (QApplication::activeModalWidget() || top->isActiveWindow()) return;
        top->activateWindow();
        (void)QTest::qWaitForWindowActive(top, 1000);
    }

    QTemporaryDir folder_;
    QTemporaryDir pictures_;
    QString picturePath_;
    QString shots_;
    bool seeded_ = false;
    gui::QtDialogs dialogs_;
    App* shellLanguage_ = nullptr;
    gui::QtShell shell_{[this] { return shellLanguage_ ? shellLanguage_->language() : QString(); }};
    platform::SystemClipboard clipboard_;
    DayClock clock_;
    platform::SystemRandom random_;
    platform::SystemScreen screen_;
    std::unique_ptr<App> app_;
    std::unique_ptr<gui::ViewManager> views_;
    ModalHandler modals_;
    QStringList expectedMessages_;
    int records_ = 0;
    int steps_ = 0;
    QSize startSize_;
    bool shootingSetUp_ = false;
    bool keepGoing_ = false;
    int failuresBefore_ = 0;
};

const QString kTeacher = QStringLiteral("Анна Сергеевна");
const QString kPassword = QStringLiteral("осень7");
const QString kWrongPassword = QStringLiteral("Не правильный пароль!");
const QString kFinished = QStringLiteral("Проверон закончен");
// The student whose result the report cannot take at first.
constexpr int kReportFails = 12;

// The class: one runs out of time, some do not know the answers.
std::vector<Student> theClass() {
    const char* const names[] = {
        "Алексеев Артём",   "Борисова Вера",   "Васильев Глеб",  "Григорьева Дарья",
        "Дмитриев Егор",    "Егорова Жанна",   "Жуков Захар",    "Зайцева Ирина",
        "Ильин Кирилл",     "Киселёва Лидия",  "Лебедев Максим", "Морозова Нина",
        "Николаев Олег",    "Орлова Полина",   "Павлов Роман",   "Романова Светлана",
        "Семёнов Тимофей",  "Тарасова Ульяна", "Уткин Фёдор",    "Фомина Христина",
        "Харитонов Цезарь", "Цветкова Чара",   "Чернов Шамиль",  "Шестакова Элла",
        "Щукин Юрий",       "Эрдман Яна",      "Юдин Аркадий",   "Яковлева Белла",
        "Абрамов Виктор",   "Белова Галина"};
    std::vector<Student> students;
    int n = 0;
    for (const char* name : names) {
        ++n;
        Student student{QString::fromUtf8(name), {}, n % 4 != 0};
        if (n % 5 == 2) student.data = QStringLiteral("9 «Б» класс");
        students.push_back(student);
    }
    students.front().timed = true;
    return students;
}

// The day, step by step, as the teacher and the students do it.
class Day {
public:
    explicit Day(ClassDay& day) : d(day) {}

    bool setUpTheExam() {
        Form1& start = d.window<Form1>();
        d.shootSetUp(true);
        if (!d.step(QStringLiteral("the program starts"))) return false;
        d.press(start.Option1);
        if (!signIn(kTeacher) || !openSettings(QString())) return false;
        Form4& settings = d.window<Form4>();
        if (!editATicket(settings) || !chooseTheExamFolder(settings)) return false;

        // The passing score from the evaluation table: four fives and a two, 4,4.
        d.press(settings.Label6);
        if (!d.step(QStringLiteral("the evaluation table"))) return false;
        d.press(settings.Command11);
        d.press(settings.Command1);
        EXPECT_EQ(settings.Text5.text(),
                  QStringLiteral("4") + d.app().locale().decimalSeparator() + QStringLiteral("4"));

        // A one-minute ticket timer for the next student only: the switch is never saved.
        d.press(settings.Check1);
        d.typeInto(settings.Text2, QStringLiteral("1"));
        d.press(settings.Check3);
        if (!d.step(QStringLiteral("the settings are made"))) return false;
        d.press(settings.Command6);
        d.shootSetUp(false);
        if (!d.step(QStringLiteral("the settings are saved"))) return false;
        return toTheNamePanel();
    }

    // The teacher switches the timer off again and sets the password.
    bool afterTheFirstStudent() {
        if (!signIn(kTeacher) || !openSettings(QString())) return false;
        Form4& settings = d.window<Form4>();
        d.press(settings.Check1);
        d.typeInto(settings.Text12, kPassword);
        d.press(settings.Check3);
        d.press(settings.Command6);
        if (!d.step(QStringLiteral("the password is set"))) return false;
        return toTheNamePanel();
    }

    bool takeTheExam(const Student& student, int records) {
        Form1& start = d.window<Form1>();
        const QString who = student.name;
        d.typeInto(start.Text9, who);
        if (!student.data.isEmpty()) d.typeInto(start.Text10, student.data);
        d.press(start.Command14);
        d.expectStartWindowSize(who);
        if (!d.step(who + QStringLiteral(": the ticket panel"))) return false;

        d.press(start.Command1);
        // Half a second after the draw the ticket can be opened, and Enter opens it.
        EXPECT_TRUE(waitFor([&] { return !start.Timer1.enabled() && start.Command3.usable(); }))
            << "no ticket to open";
        d.pressEnter(start);
        EXPECT_TRUE(waitFor([&] { return d.app().loaded<Form2>() != nullptr; }));
        if (!d.step(who + QStringLiteral(": the ticket"))) return false;

        Form2& ticket = d.window<Form2>();
        if (student.timed) {
            answer(ticket, 1, true);
            d.hurry(ticket, ticket.Timer2);
            EXPECT_TRUE(waitFor([&] {
                return ticket.Label5.caption() == QStringLiteral("Не зачет по времени");
            })) << "the time did not run out: "
                << ticket.Label28.caption().toStdString();
            EXPECT_EQ(ticket.Label28.caption(), "0");
            if (!d.step(who + QStringLiteral(": the time is up"))) return false;
        } else {
            const int questions = ticket.txtV.text().toInt();
            for (int n = 1; n <= questions; ++n) {
                if (n == questions) d.expectMessages({kFinished});
                answer(ticket, n, student.knows);
                if (n < questions) d.press(ticket.Option(n + 1));
            }
            EXPECT_EQ(ticket.Label5.caption(), student.knows ? "Зачет" : "Не зачет");
            if (!d.step(who + QStringLiteral(": graded"))) return false;
        }

        d.press(ticket.Command2);
        Form5& results = d.window<Form5>();
        EXPECT_TRUE(results.Check1.checked()) << "the result goes to the report";
        EXPECT_EQ(results.Label3.caption(), student.timed   ? "Не зачет по времени"
                                            : student.knows ? "Зачет"
                                                            : "Не зачет");
        if (!d.step(who + QStringLiteral(": the results"))) return false;
        if (records == kReportFails) {
            if (!resultStaysWhenTheReportCannotBeWritten(records)) return false;
        } else {
            d.press(results.Command2);
            d.expectRecords(records);
        }
        if (!d.step(who + QStringLiteral(": saved"))) return false;
        EXPECT_TRUE(d.reportText().contains(who));
        return true;
    }

    bool takeTheTest(const QString& who) {
        Form1& start = d.window<Form1>();
        if (!start.Frame3.visible()) d.press(start.Label6); // back to the choice of mode
        d.press(start.Option2);
        Form6& test = d.window<Form6>();
        if (!d.step(who + QStringLiteral(": the test window"))) return false;
        if (!askedForPassword_) {
            askedForPassword_ = true;
            if (!testWindowAsksForThePassword()) return false;
        }
        d.fileAnswers().push_back(d.path(QStringLiteral("t/Учеба/Учеба.tst")));
        d.expectMessages({QStringLiteral("Путь к папки с тестами:  ") +
                          QDir::toNativeSeparators(d.path(QStringLiteral("t"))) +
                          QDir::separator()});
        d.press(test.Command5);
        EXPECT_EQ(test.Text2.text(), "Учеба");
        if (!d.step(who + QStringLiteral(": the test is chosen"))) return false;
        const int questions = test.Text4.text().toInt();
        EXPECT_GT(questions, 1);
        for (int n = 1; n <= questions; ++n) {
            if (n == questions) d.expectMessages({QStringLiteral("Тест окончен")});
            d.press(test.Option(1 + n % 2));
        }
        EXPECT_TRUE(test.Frame6.visible()) << "the conclusion is shown";
        if (!d.step(who + QStringLiteral(": the conclusion"))) return false;
        d.press(test.Command15);
        d.press(test.Label13);
        return d.step(who + QStringLiteral(": back at the start"));
    }

    bool readTheReport(int records) {
        Form1& start = d.window<Form1>();
        if (start.Frame3.visible()) d.press(start.Option1);
        if (!newPasswordHoldsAtOnce()) return false;
        Form4& settings = d.window<Form4>();
        d.press(settings.Command3);
        QWidget* viewer = nullptr;
        EXPECT_TRUE(waitFor([&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (isProgramWindow(widget) &&
                    widget->windowTitle().startsWith(QLatin1String("oth.txt")))
                    viewer = widget;
            }
            return viewer != nullptr;
        })) << "the report viewer did not open";
        if (!viewer) return false;
        // No meta-object of its own: found by its C++ type.
        gui::ReportTextView* text = nullptr;
        for (QWidget* child : viewer->findChildren<QWidget*>())
            if (!text) text = dynamic_cast<gui::ReportTextView*>(child);
        int separators = 0;
        for (int line = 0; text && line < text->lineCount(); ++line)
            separators += text->line(line) == QLatin1String("==================");
        EXPECT_TRUE(text && separators == records);
        d.shoot(QStringLiteral("the report viewer"));
        if (!d.step(QStringLiteral("the report viewer"))) return false;
        d.press(withText(viewer, QStringLiteral("Закрыть")));
        d.press(settings.Command6);
        return d.step(QStringLiteral("the end of the day"));
    }

    // A new password holds at once: after the teacher saved it, the empty (old) one is
    // refused and the new one opens the settings, without a restart.
    bool newPasswordHoldsAtOnce() {
        Form1& start = d.window<Form1>();
        if (!signIn(kTeacher)) return false;
        d.expectMessages({kWrongPassword});
        d.press(start.Command15);
        if (!d.step(QStringLiteral("the old password is refused"))) return false;
        return openSettings(kPassword);
    }

    // With a password set, the test window's "Редактор-тест" and "Отчет" ask for it
    // before they open, and refuse a wrong one as the start window does.
    bool testWindowAsksForThePassword() {
        Form6& test = d.window<Form6>();
        d.press(test.Command6);
        EXPECT_TRUE(test.Frame9.visible()) << "the editor asks for the password";
        EXPECT_FALSE(test.Frame3.visible()) << "the editor stays shut";
        if (!d.step(QStringLiteral("the test editor asks for the password"))) return false;
        d.typeInto(test.Text13, QStringLiteral("угадаю"));
        d.expectMessages({kWrongPassword});
        d.press(test.Command19);
        EXPECT_FALSE(test.Frame3.visible()) << "a wrong password opens nothing";
        if (!d.step(QStringLiteral("a guessed password is refused"))) return false;
        d.press(test.Command20);
        d.press(test.Command18);
        EXPECT_TRUE(test.Frame9.visible()) << "the report asks for the password";
        if (!d.step(QStringLiteral("the test report asks for the password"))) return false;
        d.press(test.Command20);
        EXPECT_FALSE(test.Frame9.visible());
        return d.step(QStringLiteral("the password panel is closed"));
    }

    // A result the report cannot take stays. With s/oth.txt unwritable (here a folder of
    // that name, which even root cannot write as a file), "Закрыть" in the results window
    // shows one message naming the file and the window stays open with its result; once
    // the file can be written, "Закрыть" again writes the record.
    bool resultStaysWhenTheReportCannotBeWritten(int records) {
        const QString report = d.path(QStringLiteral("s/oth.txt"));
        const QString aside = report + QStringLiteral(".aside");
        if (!QFile::rename(report, aside) || !QDir().mkpath(report)) return false;
        Form5& results = d.window<Form5>();
        const QString shown = QDir::toNativeSeparators(report);
        d.expectMessages({QStringLiteral("Не удалось сохранить результат в отчет:\n%1\n«%1» - "
                                         "символическая ссылка или не обычный файл: программа "
                                         "через неё не пишет. Удалите её.")
                              .arg(shown)});
        d.expectRecords(0); // no report file to count while a folder has its name
        d.press(results.Command2);
        EXPECT_TRUE(results.visible()) << "the result is kept";
        EXPECT_TRUE(results.Frame5.visible()) << "the teacher may discard it";
        if (!d.step(QStringLiteral("the report cannot be written"))) return false;
        if (!QDir(report).removeRecursively() || !QFile::rename(aside, report)) return false;
        d.press(results.Command2);
        d.expectRecords(records);
        return d.step(QStringLiteral("the report is written after all"));
    }

private:
    // A name on the start window, then OK: the ticket and password panels.
    bool signIn(const QString& name) {
        Form1& start = d.window<Form1>();
        d.typeInto(start.Text9, name);
        d.press(start.Command14);
        d.expectStartWindowSize(name);
        return d.step(name + QStringLiteral(" signs in"));
    }
    // From the teacher's ticket panel back to an empty name panel for the next student.
    bool toTheNamePanel() {
        Form1& start = d.window<Form1>();
        d.press(start.Label9);
        d.press(start.Option1);
        return d.step(QStringLiteral("ready for the class"));
    }
    bool openSettings(const QString& password) {
        Form1& start = d.window<Form1>();
        d.typeInto(start.Text2, password);
        d.press(start.Command15);
        EXPECT_TRUE(d.app().loaded<Form4>() && d.window<Form4>().visible());
        return d.step(QStringLiteral("the settings"));
    }

    // Question 1 of ticket 1 gets a picture in the ticket editor.
    bool editATicket(Form4& settings) {
        d.press(settings.Label8);
        Form7& editor = d.window<Form7>();
        if (!d.step(QStringLiteral("the ticket editor"))) return false;
        d.press(editor.Command8);
        d.pickRow(editor.Dir1, QStringLiteral("География"));
        d.press(editor.Command6);
        if (!d.step(QStringLiteral("the exam in the editor"))) return false;
        d.typeInto(editor.Text6, QStringLiteral("1"));
        d.pickEntry(editor.Combo1, QStringLiteral("1"));
        d.fileAnswers().push_back(d.picture());
        d.press(editor.Label5);
        EXPECT_EQ(editor.Text8.text(), "1") << "a picture waits to be saved";
        if (!d.step(QStringLiteral("a picture is chosen"))) return false;
        d.expectMessages({QStringLiteral("Сохранено!")});
        d.press(editor.Command2);
        EXPECT_TRUE(QFile::exists(d.path(QStringLiteral("b/География/b1/k1.bmp"))));
        if (!d.step(QStringLiteral("the question is saved"))) return false;
        d.press(editor.Command4);
        return d.step(QStringLiteral("the editor is closed"));
    }

    bool chooseTheExamFolder(Form4& settings) {
        d.press(settings.Label18);
        Form9& chooser = d.window<Form9>();
        if (!d.step(QStringLiteral("the exam folder chooser"))) return false;
        d.pickRow(chooser.Dir1, QStringLiteral("География"));
        d.press(chooser.Command1);
        if (chooser.Frame1.visible()) d.press(chooser.Command5);
        if (d.app().loaded<Form9>()) d.press(chooser.Command2);
        EXPECT_EQ(QDir::cleanPath(settings.examFolder()),
                  QDir::cleanPath(d.path(QStringLiteral("b/География"))));
        return d.step(QStringLiteral("the exam folder is chosen"));
    }

    // Clicks the right answer of question n, or a wrong one, then "Ответ".
    void answer(Form2& ticket, int n, bool right) {
        const QString correct = ticket.List2.selectedText();
        QString chosen;
        for (const QString& variant : ticket.List1.items()) {
            if ((variant == correct) == right && chosen.isEmpty()) chosen = variant;
        }
        ASSERT_FALSE(chosen.isEmpty()) << "question " << n << " has no such answer";
        d.pickRow(ticket.List1, chosen.trimmed());
        d.press(ticket.Command4);
    }

    static QWidget* withText(QWidget* window, const QString& text) {
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (button->text() == text) return button;
        }
        return nullptr;
    }

    ClassDay& d;
    bool askedForPassword_ = false;
};

TEST(ClassDay, AClassTakesAnExamInRealWindows) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb")
        << "the class day needs an X server with a window manager (tests/classday/run.sh)";
    QElapsedTimer clock;
    clock.start();
    ClassDay d;
    ASSERT_TRUE(d.ready()) << "the application folder could not be filled";
    Day day(d);
    const std::vector<Student> students = theClass();

    ASSERT_TRUE(day.setUpTheExam());
    int records = 0;
    for (const Student& student : students) {
        ASSERT_TRUE(day.takeTheExam(student, ++records)) << student.name.toStdString();
        if (student.timed) {
            ASSERT_TRUE(day.afterTheFirstStudent());
        }
    }
    d.shoot(QStringLiteral("after the last student"));
    ASSERT_TRUE(day.takeTheTest(QStringLiteral("Первый тест")));
    ASSERT_TRUE(day.takeTheTest(QStringLiteral("Второй тест")));
    ASSERT_TRUE(day.readTheReport(records));
    EXPECT_EQ(d.recordsInReport(), int(students.size()));
    std::printf("class day: %lld ms at QT_SCALE_FACTOR=%s\n", clock.elapsed(),
                qgetenv("QT_SCALE_FACTOR").isEmpty() ? "1" : qgetenv("QT_SCALE_FACTOR").data());
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    StderrWatch watch; // from before the application: its start-up warnings count too
    stderrWatch = &watch;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("proveron"));
    QApplication::setApplicationDisplayName(QStringLiteral("Проверон"));
    QApplication::setWindowIcon(gui::applicationIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    const int result = RUN_ALL_TESTS();
    stderrWatch = nullptr;
    return result;
}
