// SPDX-License-Identifier: GPL-3.0-or-later
// How often a child's hands fire a parent's hot key, on a model of the keyboard the
// music dialog draws (tests/data/keyboard.tsv: every key's place and size):
//  - palms of 5 to 20 keys landing anywhere, their keys arriving within 40 ms in random
//    order, held 0.15 to 0.5 s (and resting 1 to 3 s, with the X server's auto-repeat);
//  - one hand resting on Shift while the other pokes single keys;
//  - what each lead of Shift before the letter costs a parent.
// Before: every press with Shift held fires. Now: the hot key gate of the play window.
// Prints figures; asserts nothing. Usage: bench_palms [landings per palm size]
#include "hotkeygate.h"
#include "keyslots.h"

#include <QFile>
#include <QList>
#include <QMap>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace std::chrono_literals;
using HotKeys::Action;

namespace {

struct BoardKey
{
    quint32 id; // the slot
    int code;
    QRectF place; // twips
};

struct Event
{
    double at; // ms
    enum Kind { Down, Up, Repeat } kind;
    const BoardKey *key;
};

constexpr double RepeatDelayMs = 660, RepeatEveryMs = 40; // the X server's default auto-repeat

std::mt19937 randomness(20261208);

double uniform(double from, double to)
{
    return std::uniform_real_distribution<double>(from, to)(randomness);
}

// The keys of the keyboard table; the right-hand modifiers have no code of their own there.
QList<BoardKey> readBoard(const QString &path)
{
    const QMap<QString, int> sameAs{{QStringLiteral("87"), KeyCodes::Shift},
                                    {QStringLiteral("100"), KeyCodes::Alt},
                                    {QStringLiteral("101"), 92},
                                    {QStringLiteral("103"), KeyCodes::Ctrl}};
    QList<BoardKey> board;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return board;
    }
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() < 8 || line.startsWith('#') || f[2] == "Enter") {
            continue; // the lower half of Enter is part of its key
        }
        const int code = f[1] == "-" ? sameAs.value(QString::fromLatin1(f[0])) : f[1].toInt();
        board.append({f[0].toUInt(), code,
                      QRectF(f[4].toDouble(), f[5].toDouble(), f[6].toDouble(), f[7].toDouble())});
    }
    return board;
}

bool isModifier(int code)
{
    return code == KeyCodes::Shift || code == KeyCodes::Ctrl || code == KeyCodes::Alt;
}

double distance(const QRectF &rect, QPointF point)
{
    const double dx = std::max({rect.left() - point.x(), 0.0, point.x() - rect.right()});
    const double dy = std::max({rect.top() - point.y(), 0.0, point.y() - rect.bottom()});
    return std::hypot(dx, dy);
}

// A palm of size keys around a point of a random key, down within 40 ms, held for a while; the X
// server repeats the last key down that is still held and no modifier.
QList<Event> palm(const QList<BoardKey> &board, int size, double start, double minHold, double maxHold)
{
    const QRectF &under = board.at(int(uniform(0, board.size()))).place;
    const QPointF centre(uniform(under.left(), under.right()), uniform(under.top(), under.bottom()));
    QList<const BoardKey *> keys;
    for (const BoardKey &key : board) {
        keys.append(&key);
    }
    std::sort(keys.begin(), keys.end(), [&](const BoardKey *a, const BoardKey *b) {
        return distance(a->place, centre) < distance(b->place, centre);
    });
    QList<Event> events;
    double lastDown = -1, lastUp = 0;
    const BoardKey *last = nullptr;
    for (const BoardKey *key : keys.mid(0, size)) {
        const double down = start + uniform(0, 40), up = down + uniform(minHold, maxHold);
        events.append({down, Event::Down, key});
        events.append({up, Event::Up, key});
        if (down > lastDown) {
            lastDown = down, lastUp = up, last = key;
        }
    }
    for (double at = lastDown + RepeatDelayMs; !isModifier(last->code) && at < lastUp; at += RepeatEveryMs) {
        events.append({at, Event::Repeat, last});
    }
    return events;
}

// What fired, in order, when the events reach a play window with or without the gate.
QList<Action> fired(QList<Event> events, bool gated, HotKeyGate::Time lead = HotKeyGate::ShiftLead)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.at < b.at; });
    HotKeyGate gate(lead);
    QList<Action> actions;
    int shiftsDown = 0;
    double waitingSince = -1;
    for (const Event &event : events) {
        if (waitingSince >= 0 && event.at - waitingSince >= HotKeyGate::Settle.count()) {
            actions.append(gate.settle());
            waitingSince = -1;
        }
        shiftsDown +=
            event.key->code == KeyCodes::Shift ? (event.kind == Event::Down) - (event.kind == Event::Up) : 0;
        const HotKeyGate::Key key{event.key->id, event.key->code, shiftsDown > 0 ? 1 : 0};
        if (event.kind == Event::Up) {
            gate.release(key);
        } else if (!gated) {
            if (HotKeys::actionFor(key.keyCode, key.modifiers) != Action::None) {
                actions.append(HotKeys::actionFor(key.keyCode, key.modifiers));
            }
        } else if (event.kind == Event::Down) {
            const HotKeyGate::Outcome outcome = gate.press(key, HotKeyGate::Time(qint64(event.at)));
            if (outcome.releasesWaiting) {
                waitingSince = -1;
            }
            if (outcome.waitsFor != Action::None) {
                waitingSince = event.at;
            }
        }
    }
    if (waitingSince >= 0) {
        actions.append(gate.settle());
    }
    return actions;
}

void landings(const QList<BoardKey> &board, int count, double minHold, double maxHold)
{
    printf("%5s %16s %8s %8s %10s %10s\n", "palm", "fired before", "quit", "minimise", "other", "fired now");
    for (int size = 5; size <= 20; ++size) {
        int before = 0, quit = 0, minimise = 0, now = 0;
        for (int i = 0; i < count; ++i) {
            const QList<Event> events = palm(board, size, 0, minHold, maxHold);
            const QList<Action> old = fired(events, false);
            before += !old.isEmpty();
            quit += !old.isEmpty() && old.first() == Action::Quit;
            minimise += !old.isEmpty() && (old.first() == Action::Minimise || old.first() == Action::Help);
            now += !fired(events, true).isEmpty();
        }
        printf("%5d %15.2f%% %7.2f%% %7.2f%% %9.2f%% %9d in %d\n", size, 100.0 * before / count,
               100.0 * quit / count, 100.0 * minimise / count, 100.0 * (before - quit - minimise) / count,
               now, count);
    }
}

// One hand rests on Shift for 1 to 6 s at a time; the other pokes single keys (not Shift, Ctrl or
// Alt), one every 0.4 s on average, each held 80 to 200 ms.
QList<Event> restingShift(const QList<BoardKey> &board, double minutes)
{
    QList<const BoardKey *> pokeable;
    const BoardKey *shift = nullptr;
    for (const BoardKey &key : board) {
        if (!isModifier(key.code)) {
            pokeable.append(&key);
        } else if (key.code == KeyCodes::Shift && !shift) {
            shift = &key;
        }
    }
    QList<Event> events;
    for (double at = 0; at < minutes * 60000;) {
        const double up = at + uniform(1000, 6000);
        events.append({at, Event::Down, shift});
        for (double poke = at + std::exponential_distribution<double>(1 / 400.0)(randomness); poke < up;
             poke += 80 + std::exponential_distribution<double>(1 / 320.0)(randomness)) {
            const BoardKey *key = pokeable.at(int(uniform(0, pokeable.size())));
            events.append({poke, Event::Down, key});
            events.append({poke + uniform(80, 200), Event::Up, key});
        }
        events.append({up, Event::Up, shift});
        at = up + uniform(500, 3000);
    }
    return events;
}

} // namespace

int main(int argc, char *argv[])
{
    const int count = argc > 1 ? atoi(argv[1]) : 10000;
    const QList<BoardKey> board = readBoard(QStringLiteral(ZUBELO_TEST_DATA "/keyboard.tsv"));
    if (board.size() != 109) {
        fprintf(stderr, "the keyboard table was not read (%lld keys)\n", qsizetype(board.size()));
        return 1;
    }
    printf("Palms landing, held 0.15-0.5 s (%d landings each):\n", count);
    landings(board, count, 150, 500);
    printf("\nPalms resting 1-3 s, the last key repeating (%d landings each):\n", count);
    landings(board, count, 1000, 3000);

    printf("\nOne hand resting on Shift, the other poking single keys (60 minutes), against a parent's\n"
           "Shift-to-letter time, modelled log-normal with median 250 ms (half the presses 180-350 ms):\n");
    printf("%10s %14s %20s\n", "Shift lead", "fires/hour", "parent fails");
    const QList<Event> resting = restingShift(board, 60);
    std::lognormal_distribution<double> parent(std::log(250.0), 0.5);
    QList<double> parentLeads;
    for (int i = 0; i < 100000; ++i) {
        parentLeads.append(parent(randomness));
    }
    for (const int lead : {250, 500, 750, 1000, 1500, 2000, 5000}) {
        const qsizetype fires = fired(resting, true, HotKeyGate::Time(lead)).size();
        const auto fails =
            std::count_if(parentLeads.begin(), parentLeads.end(), [&](double ms) { return ms > lead; });
        printf("%8d ms %14lld %18.3f%%%s\n", lead, fires, 100.0 * double(fails) / parentLeads.size(),
               HotKeyGate::Time(lead) == HotKeyGate::ShiftLead ? "  <- the toy's" : "");
    }
    printf("Before (any press with Shift held): %lld fires/hour\n", fired(resting, false).size());
    return 0;
}
