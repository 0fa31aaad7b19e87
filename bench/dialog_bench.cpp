// Speed of the main window's hot paths, each as a ratio to the raw limit measured in the same
// run on the same machine: listing a folder (every keystroke in the folder or filter field
// relists), sorting by the time column, the rename walk, and moving selected rows.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_app.h"
#include "filelist/text_compare.h"
#include "platform/files.h"
#include "platform/qt/handles.h"
#include "ui/main_dlg.h"

namespace {

namespace fs = std::filesystem;

class BenchDlg : public CMainDlg {
public:
    using CMainDlg::LoadFolder;
};

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

template <class T = QWidget>
T* ControlOf(CWnd& dialog, int id) {
    return dialog.GetSafeHwnd()->widget->findChild<T*>(QString::number(id));
}

void MakeFiles(const fs::path& folder, int count, const char* stem) {
    fs::create_directories(folder);
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "%s_%06d.JPG", stem, (i * 7919) % count);
        int fd = ::open((folder / name).c_str(), O_CREAT | O_WRONLY, 0644);
        ::close(fd);
        // Spread the times over years so the time sort has work to do.
        timespec times[2] = {{0, UTIME_OMIT}, {946684800 + static_cast<time_t>(i) * 7777, 0}};
        ::utimensat(AT_FDCWD, (folder / name).c_str(), times, 0);
    }
}

// What any lister must do at the least: read the entries, stat each, format its time.
double RawListing(const fs::path& folder) {
    QElapsedTimer timer;
    timer.start();
    DIR* dir = ::opendir(folder.c_str());
    std::vector<CString> names, times;
    while (dirent* entry = ::readdir(dir)) {
        struct stat info;
        if (::fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            S_ISDIR(info.st_mode)) {
            continue;
        }
        names.emplace_back(entry->d_name);
        times.push_back(
            FormatFileTimeText(UnixTimeToFileTime(info.st_mtim.tv_sec, info.st_mtim.tv_nsec)));
    }
    ::closedir(dir);
    return Seconds(timer);
}

void Flush(CWnd& dialog) {
    QApplication::processEvents();
    auto* list = ControlOf<QAbstractScrollArea>(dialog, IDC_FILE_LIST);
    list->viewport()->repaint();
}

// Answers every message box with OK, noting when the confirmation was answered.
struct AutoOk {
    QTimer timer;
    QElapsedTimer* clock;
    double answeredAt = 0;
    explicit AutoOk(QElapsedTimer* c) : clock(c) {
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answeredAt = Seconds(*clock);
                box->buttons().front()->click();
            }
        });
        timer.start();
    }
};

void BenchListing(BenchDlg& dialog, const fs::path& root, int count) {
    fs::path folder = root / ("list" + std::to_string(count));
    MakeFiles(folder, count, "IMG");
    RawListing(folder);  // warm the caches for both
    double raw = 1e9, listing = 1e9, timeSort = 1e9, plainSort = 1e9;
    auto* folderEdit = ControlOf<QLineEdit>(dialog, IDC_FOLDER);
    auto* filterEdit = ControlOf<QLineEdit>(dialog, IDC_FILTER);
    folderEdit->setText(QString::fromStdString(folder.string()));
    for (int round = 0; round < 3; ++round) {
        raw = std::min(raw, RawListing(folder));
        QElapsedTimer timer;
        timer.start();
        // The relist a keystroke starts.
        filterEdit->setText(filterEdit->text() == "*.*" ? "*.JPG" : "*.*");
        Flush(dialog);
        listing = std::min(listing, Seconds(timer));

        // The same texts in the same order, for the plain sort.
        std::vector<CString> texts;
        for (int i = 0; i < dialog.m_list.GetItemCount(); ++i) {
            texts.push_back(dialog.m_list.GetItemText(i, 1));
        }

        timer.restart();
        NMLISTVIEW click{};
        click.hdr.idFrom = IDC_FILE_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iSubItem = 1;
        dialog.SendMessage(WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
        Flush(dialog);
        timeSort = std::min(timeSort, Seconds(timer));

        timer.restart();
        std::sort(texts.begin(), texts.end(), [](const CString& a, const CString& b) {
            return CompareRowTexts(a.View(), b.View()) < 0;
        });
        plainSort = std::min(plainSort, Seconds(timer));
    }
    std::printf(
        "listing   N=%-7d rows=%-7d dialog %7.1f ms  raw readdir+fstatat+format %7.1f ms  ratio "
        "%.2f\n",
        count, dialog.m_list.GetItemCount(), listing * 1e3, raw * 1e3, listing / raw);
    std::printf("time sort N=%-7d dialog %7.1f ms  plain std::sort %7.1f ms  ratio %.2f\n", count,
                timeSort * 1e3, plainSort * 1e3, timeSort / plainSort);
}

// One rename run over count files and the plain loop over as many; returns walk / raw.
double RenameOnce(BenchDlg& dialog, const fs::path& root, int count, int round) {
    fs::path folder = root / ("rename" + std::to_string(count) + "-" + std::to_string(round));
    fs::path rawFolder = root / ("raw" + std::to_string(count) + "-" + std::to_string(round));
    MakeFiles(folder, count, "IMG");
    MakeFiles(rawFolder, count, "IMG");

    // The raw limit: a plain loop of renameat2 over the same number of files, named by their
    // paths as the run names them.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(rawFolder)) {
        names.push_back(entry.path().string());
    }
    std::string prefix = (rawFolder / "p").string();
    QElapsedTimer timer;
    timer.start();
    char target[4096];
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::snprintf(target, sizeof target, "%s%06zu.jpg", prefix.c_str(), i);
        ::syscall(SYS_renameat2, AT_FDCWD, names[i].c_str(), AT_FDCWD, target, RENAME_NOREPLACE);
    }
    double raw = Seconds(timer);

    ControlOf<QLineEdit>(dialog, IDC_FILTER)->setText("*.*");
    ControlOf<QLineEdit>(dialog, IDC_FOLDER)->setText(QString::fromStdString(folder.string()));
    ControlOf<QLineEdit>(dialog, IDC_PREFIX)->setText("p");
    ControlOf<QLineEdit>(dialog, IDC_START_NUMBER)->setText("000001");
    Flush(dialog);
    ControlOf<QPushButton>(dialog, IDC_SELECT_ALL)->click();
    timer.restart();
    double runEnd;
    {
        AutoOk ok(&timer);
        ControlOf<QPushButton>(dialog, IDC_START_RENAME)->click();
        Flush(dialog);
        runEnd = Seconds(timer);
        timer.restart();
        dialog.LoadFolder(dialog.m_strFolder, TRUE);  // the same relist once more, timed alone
        Flush(dialog);
        double relist = Seconds(timer);
        double walk = runEnd - ok.answeredAt - relist;
        std::printf(
            "  round %d: N=%-7d renamed=%-7zu walk %7.1f ms  plain renameat2 loop %7.1f ms  ratio "
            "%.2f  (relist %.1f ms)\n",
            round, count,
            static_cast<std::size_t>(std::count_if(
                fs::directory_iterator(folder), {},
                [](const auto& e) { return e.path().filename().string()[0] == 'p'; })),
            walk * 1e3, raw * 1e3, walk / raw, relist * 1e3);
        fs::remove_all(folder);
        fs::remove_all(rawFolder);
        return walk / raw;
    }
}

void BenchRename(BenchDlg& dialog, const fs::path& root, int count) {
    std::vector<double> ratios;
    for (int round = 0; round < 3; ++round) {
        ratios.push_back(RenameOnce(dialog, root, count, round));
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("rename    N=%-7d median of 3: walk / plain renameat2 loop %.2f\n", count,
                ratios[1]);
}

void BenchMoves(BenchDlg& dialog, int count) {
    CListCtrl& list = dialog.m_list;
    list.DeleteAllItems();
    for (int i = 0; i < count; ++i) {
        int row = list.InsertItem(LVIF_TEXT, 0, "IMG_000000.JPG", 0, 0, 0, 0);
        list.SetItem(row, 1, LVIF_TEXT, "2000/12/26  14:05", 0, 0, 0, 0);
    }
    for (int i = 1; i < count; i += 2) {
        list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    }
    QElapsedTimer timer;
    timer.start();
    ControlOf<QPushButton>(dialog, IDC_MOVE_UP)->click();
    Flush(dialog);
    double up = Seconds(timer);
    timer.restart();
    ControlOf<QPushButton>(dialog, IDC_MOVE_DOWN)->click();
    Flush(dialog);
    double down = Seconds(timer);
    std::printf("moves     N=%-7d every other row selected: move up %7.1f ms  move down %7.1f ms\n",
                count, up * 1e3, down * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CMainApp theApp;
    AfxWinInit(argc, argv);
    fs::path root = fs::temp_directory_path() / ("fvbench-" + std::to_string(::getpid()));
    fs::create_directories(root);
    std::string profile = (root / "FVanta.ini").string();
    std::free(const_cast<char*>(theApp.m_pszProfileName));
    theApp.m_pszProfileName = strdup(profile.c_str());
    {
        BenchDlg dialog;
        theApp.m_pMainWnd = &dialog;
        dialog.Create();
        // An argument picks one figure: listing, rename or moves.
        std::string only = argc > 1 ? argv[1] : "";
        if (only.empty() || only == "listing") {
            for (int count : {10000, 100000}) {
                BenchListing(dialog, root, count);
            }
        }
        if (only.empty() || only == "rename") {
            for (int count : {10000, 100000}) {
                BenchRename(dialog, root, count);
            }
        }
        if (only.empty() || only == "moves") {
            for (int count : {100000, 200000}) {
                BenchMoves(dialog, count);
            }
        }
        dialog.DestroyWindow();
        theApp.m_pMainWnd = nullptr;
    }
    fs::remove_all(root);
    return 0;
}
