// Start-up time: from starting a process to the first expose of its dialog, for the program
// (bench_startup_dialog: its own main and start-up) and for a bare Qt dialog of the same
// size, font and controls, in alternating rounds of one run. Prints each round and the
// medians with their ratio.
//
//   bench_startup [rounds]            (default 11; QT_QPA_PLATFORM defaults to offscreen)
//   bench_startup --bare <layout>     one bare child, as the parent starts it
#include "bench/StartupProbe.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

QWidget* MakeControl(const QJsonObject& row, QWidget* parent)
{
    const QString kind = row["kind"].toString();
    const QString text = row["text"].toString();
    QWidget* control;
    if (kind == "QPushButton")
        control = new QPushButton(text, parent);
    else if (kind == "QCheckBox")
        control = new QCheckBox(text, parent);
    else if (kind == "QRadioButton")
        control = new QRadioButton(text, parent);
    else if (kind == "QComboBox") {
        auto* combo = new QComboBox(parent);
        for (const QJsonValue& item : row["items"].toArray())
            combo->addItem(item.toString());
        control = combo;
    } else if (kind == "QLineEdit")
        control = new QLineEdit(text, parent);
    else if (kind == "QPlainTextEdit")
        control = new QPlainTextEdit(text, parent);
    else if (kind == "QTextEdit")
        control = new QTextEdit(text, parent);
    else if (kind == "QListView")
        control = new QListWidget(parent);
    else if (kind == "QGroupBox")
        control = new QGroupBox(text, parent);
    else if (kind == "QLabel")
        control = new QLabel(text, parent);
    else
        control = new QWidget(parent);
    control->setGeometry(row["x"].toInt(), row["y"].toInt(), row["w"].toInt(), row["h"].toInt());
    control->setEnabled(row["enabled"].toBool());
    if (!row["visible"].toBool())
        control->hide();
    return control;
}

int RunBare(int argc, char** argv, const char* layoutPath)
{
    QApplication application(argc, argv);
    QFile file(QString::fromLocal8Bit(layoutPath));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", layoutPath);
        return 1;
    }
    const QJsonObject layout = QJsonDocument::fromJson(file.readAll()).object();
    QDialog dialog;
    dialog.setWindowTitle(layout["title"].toString());
    QFont font;
    font.fromString(layout["font"].toString());
    dialog.setFont(font);
    std::vector<QWidget*> made;
    for (const QJsonValue& value : layout["controls"].toArray()) {
        const QJsonObject row = value.toObject();
        const int parent = row["parent"].toInt();
        made.push_back(MakeControl(row, parent < 0 ? &dialog : made.at(static_cast<std::size_t>(parent))));
    }
    dialog.setFixedSize(layout["w"].toInt(), layout["h"].toInt());
    startup::WatchFirstExpose([](QWidget* window, long long ns) { startup::ReportAndExit(window, ns, nullptr); });
    dialog.show();
    return application.exec();
}

std::string Directory(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Starts argv, returns the milliseconds from just before the start to the child's
// reported expose, or a negative value when it reported none.
double TimeChild(const std::vector<std::string>& args, const std::string& errorLog)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const long long start = startup::MonotonicNs();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    long long exposed = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || std::sscanf(text.c_str(), "exposed_ns=%lld", &exposed) != 1)
        return -1;
    return static_cast<double>(exposed - start) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--bare") == 0)
        return RunBare(argc, argv, argv[2]);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 11;
    if (rounds < 1) {
        std::fprintf(stderr, "usage: %s [rounds]\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    const std::string dir = Directory(self);
    const std::string dialogChild = dir + "/bench_startup_dialog";
    char workTemplate[] = "/tmp/bench_startup.XXXXXX";
    if (mkdtemp(workTemplate) == nullptr)
        return 1;
    const std::string work = workTemplate;
    const std::string layout = work + "/layout.json";
    const std::string errorLog = work + "/children.log";

    const auto fail = [&](const char* what) {
        std::fprintf(stderr, "%s did not report an exposed dialog; its messages:\n", what);
        if (FILE* log = std::fopen(errorLog.c_str(), "r")) {
            for (int c; (c = std::fgetc(log)) != EOF;)
                std::fputc(c, stderr);
            std::fclose(log);
        }
        return 1;
    };
    // The first run of each writes the layout and fills the page cache; neither is counted.
    if (TimeChild({dialogChild, layout}, errorLog) < 0)
        return fail("bench_startup_dialog");
    if (TimeChild({self, "--bare", layout}, errorLog) < 0)
        return fail("the bare dialog");

    std::vector<double> program;
    std::vector<double> bare;
    std::printf("%-6s %11s %9s %6s\n", "round", "program_ms", "bare_ms", "ratio");
    for (int round = 1; round <= rounds; ++round) {
        const double p = TimeChild({dialogChild}, errorLog);
        if (p < 0)
            return fail("bench_startup_dialog");
        const double b = TimeChild({self, "--bare", layout}, errorLog);
        if (b < 0)
            return fail("the bare dialog");
        program.push_back(p);
        bare.push_back(b);
        std::printf("%-6d %11.2f %9.2f %6.2f\n", round, p, b, p / b);
    }
    const double p = Median(program);
    const double b = Median(bare);
    std::printf("median program_ms=%.2f bare_ms=%.2f ratio=%.2f (goal <= 1.30)\n", p, b, p / b);
    std::remove(layout.c_str());
    std::remove(errorLog.c_str());
    rmdir(work.c_str());
    return 0;
}
