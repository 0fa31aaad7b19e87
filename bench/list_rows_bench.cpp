// The row store on the program's own patterns: a listing that inserts every row at the top, and
// the move walks that delete and insert at neighbouring indexes. Each figure is timed at N and
// 2N rows; a ratio near 2 means the cost per operation does not grow with the list.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/list_rows.h"

namespace {

constexpr int kRuns = 3;
constexpr UINT kSelectedFocused = LVIS_SELECTED | LVIS_FOCUSED;

// Best of a few runs; setup is called untimed before each.
double BestMs(const std::function<void()>& setup, const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        setup();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::vector<CString> Names(int count) {
    std::vector<CString> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        names.emplace_back("IMG_" + std::to_string(i) + ".jpg");
    }
    return names;
}

void Listing(ListRows& rows, const std::vector<CString>& names, int n) {
    rows.DeleteAll();
    for (int i = 0; i < n; ++i) {
        rows.Insert(0, names[i]);
        rows.SetText(0, 1, "2024/06/11  09:00");
    }
}

void MoveUpWalk(ListRows& rows) {
    for (int i = 1; i < rows.Count(); i += 2) {
        const CString name = rows.Text(i, 0);
        const CString time = rows.Text(i, 1);
        rows.Delete(i);
        rows.Insert(i - 1, name);
        rows.SetText(i - 1, 1, time);
        rows.SetState(i - 1, kSelectedFocused, kSelectedFocused);
    }
}

void MoveDownWalk(ListRows& rows) {
    for (int w = rows.Count() - 2; w >= 0; w -= 2) {
        const CString name = rows.Text(w, 0);
        const CString time = rows.Text(w, 1);
        rows.Delete(w);
        rows.Insert(w + 1, name);
        rows.SetText(w + 1, 1, time);
        rows.SetState(w + 1, kSelectedFocused, kSelectedFocused);
    }
}

struct Figures {
    double topInsert;
    double vectorPush;
    double moveUp;
    double moveDown;
};

Figures Measure(const std::vector<CString>& names, int n, long& checksum) {
    ListRows rows;
    std::vector<CString> raw;
    Figures f{};
    f.topInsert = BestMs([&] { rows.DeleteAll(); },
                         [&] {
                             for (int i = 0; i < n; ++i) {
                                 rows.Insert(0, names[i]);
                             }
                         });
    checksum += rows.Count();
    f.vectorPush = BestMs([&] { raw = std::vector<CString>(); },
                          [&] {
                              for (int i = 0; i < n; ++i) {
                                  raw.push_back(names[i]);
                              }
                          });
    checksum += static_cast<long>(raw.size());
    f.moveUp = BestMs([&] { Listing(rows, names, n); }, [&] { MoveUpWalk(rows); });
    checksum += rows.SelectedCount() + rows.FocusedRow();
    f.moveDown = BestMs([&] { Listing(rows, names, n); }, [&] { MoveDownWalk(rows); });
    checksum += rows.SelectedCount() + rows.FocusedRow();
    return f;
}

}  // namespace

int main() {
    constexpr int kN = 1'000'000;
    const std::vector<CString> names = Names(2 * kN);
    long checksum = 0;
    const Figures one = Measure(names, kN, checksum);
    const Figures two = Measure(names, 2 * kN, checksum);

    std::printf("%-28s %10s %10s %8s\n", "rows", "N ms", "2N ms", "2N/N");
    auto line = [](const char* what, double a, double b) {
        std::printf("%-28s %10.1f %10.1f %8.2f\n", what, a, b, b / a);
    };
    line("insert at top", one.topInsert, two.topInsert);
    line("vector push_back (limit)", one.vectorPush, two.vectorPush);
    line("move walk up", one.moveUp, two.moveUp);
    line("move walk down", one.moveDown, two.moveDown);
    std::printf("insert at top / vector push_back: N %.2f, 2N %.2f\n",
                one.topInsert / one.vectorPush, two.topInsert / two.vectorPush);
    std::printf(
        "list_rows_bench: N=%d, growth 2N/N insert %.2f, up %.2f, down %.2f (checksum %ld)\n", kN,
        two.topInsert / one.topInsert, two.moveUp / one.moveUp, two.moveDown / one.moveDown,
        checksum);
    return 0;
}
