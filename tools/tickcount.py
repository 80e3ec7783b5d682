#!/usr/bin/env python3
"""Counts the server requests of each timer handler of the real program.

    python3 tools/tickcount.py TRACE [--lines FIRST:LAST] [--markdown | --check-idle [--seconds N] | --check-taps]

TRACE is the standard error of a Wine session traced with WINEDEBUG=+server
in which Sipquill.exe ran with SQ_TICK_MARKS=1 (tools/tickcount.sh makes
one). The backend brackets every timer handler with two atom look-ups,
"sqtick{ CLASS ID" and "sqtick} COUNTS", and looks up "sqpaint CLASS" for
every paint message; the server's trace shows them in line with the
handler's own requests. Printed: per timer, the handlers run, the server
requests per run by request, and the backend calls the core made per run
(caption reads and writes, lookups under a point, parent lookups, list reads
and writes, on-screen tests, and which of the texts and list items read and
written reached the system: WM_GETTEXT, WM_SETTEXT, LB_GETTEXT and
LB_GETCOUNT, item changes), then what the GUI thread asked outside the
handlers (message loop, painting) and the paints by window class. --lines
counts only the trace's lines FIRST to LAST (1-based, LAST may be empty),
one phase of the session. --startup prints instead when each form's window
was made and the message loop began (ms since the process was created).
--check-idle fails (exit 1, naming the timer) when an idle handler wrote a
caption or a list item to the system, read a list item from it, or read
more than one caption from it a run (the one is a settings edit, whose text
the user types and the process cannot keep): every other text an idle tick
reads is kept in the process; with --seconds N (the phase's length), it
also fails when the GUI thread made more than MAX_IDLE_REQUESTS server
requests a second in all, handlers and message loop together (a pointer
read or a window look-up a tick each, asked again by every timer, is what
that guards against). --check-taps fails when a handler, under key
taps, changed list items in the system more than 3 times a run or wrote
more than one text a run (a tap's words reach two histories and a few
captions; rewriting a whole list for a word is what it guards against).
"""
import collections
import re
import sys

REQ = re.compile(r'^([0-9a-f]{4,8}): (\w+)\((.*)\)\s*$')
REPLY = re.compile(r'^([0-9a-f]{4,8}): (\w+)\(\) = ')
MARK = re.compile(r'name=L"(sq(?:tick\{|tick\}|paint|form|loop)[^"]*)"')

# The GUI thread's server requests a second at idle, at most: the seven
# timers' own messages and what their handlers ask while nothing happens
# (about 326 measured with Notepad in front; 474 while the look-ups lived
# 100 ms at idle too; about 1980 while every handler read the pointer and
# looked the same windows up again).
MAX_IDLE_REQUESTS = 420

# The requests that stand for one kind of work, for the summary columns.
GROUPS = {
    'caption read': ('get_window_text',),
    'caption write': ('set_window_text',),
    'window under a point': ('get_window_children_from_point',),
    'window tree / parents': ('get_window_tree', 'get_window_parents', 'get_window_children'),
    'rectangles': ('get_window_rectangles', 'get_visible_region', 'get_window_region'),
    'painting': ('get_update_region', 'redraw_window', 'update_window_zorder',
                 'get_surface_region'),
    'window info / style': ('get_window_info', 'set_window_info'),
    'key state': ('get_key_state', 'set_key_state'),
    'messages': ('send_message', 'get_message', 'get_message_reply', 'reply_message',
                 'accept_hardware_message', 'get_queue_status', 'set_queue_mask'),
}


def main(argv):
    path = argv[1]
    markdown = '--markdown' in argv
    first, last = 1, None
    if '--lines' in argv:
        a, _, b = argv[argv.index('--lines') + 1].partition(':')
        first, last = int(a or 1), (int(b) if b else None)
    gui = None
    cur = {}          # thread -> open handler name
    runs = collections.Counter()
    reqs = collections.defaultdict(collections.Counter)   # handler -> request counts
    calls = collections.defaultdict(collections.Counter)  # handler -> backend counts
    outside = collections.Counter()
    paints = collections.Counter()
    starts = []       # "sqform CLASS +MS", "sqloop +MS"
    with open(path, errors='replace') as f:
        for number, line in enumerate(f, 1):
            if number < first:
                continue
            if last is not None and number > last:
                break
            if REPLY.match(line):
                continue
            m = REQ.match(line)
            if not m:
                continue
            tid, name, args = m.groups()
            mk = MARK.search(args) if name in ('find_atom', 'add_atom') else None
            if mk:
                text = mk.group(1)
                if text.startswith('sqtick{'):
                    gui = tid
                    handler = text[len('sqtick{ '):]
                    cur[tid] = handler
                    runs[handler] += 1
                elif text.startswith('sqtick}'):
                    handler = cur.pop(tid, None)
                    if handler:
                        for kv in text.split()[1:]:
                            k, _, v = kv.partition('=')
                            calls[handler][k] += int(v or 0)
                elif text.startswith('sqpaint'):
                    paints[text[len('sqpaint '):]] += 1
                else:
                    starts.append(text)
                continue
            if tid in cur:
                reqs[cur[tid]][name] += 1
            elif tid == gui:
                outside[name] += 1
    if '--startup' in argv:
        # Each form's window and the message loop, in ms since the process
        # was created, and how long until the next.
        rows = []
        for t in starts:
            name, _, ms = t.rpartition(' +')
            rows.append((name.replace('sqform ', '').replace('sqloop', '(message loop)'), int(ms)))
        print('| Window | made at, ms | until the next, ms |')
        print('|---|---|---|')
        for i, (name, ms) in enumerate(rows):
            nxt = rows[i + 1][1] - ms if i + 1 < len(rows) else None
            print(f'| {name} | {ms} | {"" if nxt is None else nxt} |')
        return 0
    if gui is None:
        print('no tick marks in the trace (SQ_TICK_MARKS unset?)', file=sys.stderr)
        return 1
    keys = [('tr', 'caption reads'), ('tw', 'caption writes'), ('wp', 'lookups under a point'),
            ('gp', 'parent lookups'), ('lr', 'list reads'), ('lw', 'list writes'),
            ('so', 'on-screen tests'), ('trs', 'texts read from the system'),
            ('tws', 'texts written to the system'), ('lrs', 'list reads from the system'),
            ('lws', 'list changes to the system')]
    if '--check-idle' in argv:
        bad = []
        if not any('trs' in calls[h] for h in runs):
            bad.append('the trace carries no counts of what reached the system (an older build?)')
        for h in sorted(runs):
            n = runs[h]
            c = calls[h]
            if c['tws'] or c['lws'] or c['lrs'] or c['trs'] > n:
                bad.append(f'{h}: a run wrote {c["tws"] / n:.2f} texts and {c["lws"] / n:.2f} '
                           f'list items, read {c["trs"] / n:.2f} texts and {c["lrs"] / n:.2f} '
                           f'list items from the system')
        if '--seconds' in argv:
            seconds = float(argv[argv.index('--seconds') + 1])
            total = sum(sum(reqs[h].values()) for h in runs) + sum(outside.values())
            rate = total / seconds if seconds > 0 else 0
            print(f'idle: {rate:.0f} server requests a second from the GUI thread')
            if rate > MAX_IDLE_REQUESTS:
                bad.append(f'{rate:.0f} server requests a second, over {MAX_IDLE_REQUESTS}')
        for b in bad:
            print('idle check: ' + b, file=sys.stderr)
        print('idle check: ' + ('fails' if bad else f'holds for {len(runs)} timers'))
        return 1 if bad else 0
    if '--check-taps' in argv:
        bad = []
        if not any('lws' in calls[h] for h in runs):
            bad.append('the trace carries no counts of what reached the system (an older build?)')
        for h in sorted(runs):
            n = runs[h]
            c = calls[h]
            if c['lws'] > 3 * n or c['tws'] > n:
                bad.append(f'{h}: a run changed {c["lws"] / n:.2f} list items and wrote '
                           f'{c["tws"] / n:.2f} texts in the system')
        for b in bad:
            print('taps check: ' + b, file=sys.stderr)
        print('taps check: ' + ('fails' if bad else f'holds for {len(runs)} timers'))
        return 1 if bad else 0
    if markdown:
        print('| Timer | runs | server requests / run | ' +
              ' | '.join(k[1] + ' / run' for k in keys) + ' |')
        print('|---|' + '---|' * (2 + len(keys)))
        for h in sorted(runs):
            n = runs[h]
            total = sum(reqs[h].values())
            print(f'| {h} | {n} | {total / n:.1f} | ' +
                  ' | '.join(f'{calls[h][k] / n:.2f}' for k, _ in keys) + ' |')
        print()
        print('| Timer | ' + ' | '.join(GROUPS) + ' | other |')
        print('|---|' + '---|' * (len(GROUPS) + 1))
        for h in sorted(runs):
            n = runs[h]
            row, seen = [], 0
            for g, names in GROUPS.items():
                c = sum(reqs[h][x] for x in names)
                seen += c
                row.append(f'{c / n:.2f}')
            row.append(f'{(sum(reqs[h].values()) - seen) / n:.2f}')
            print(f'| {h} | ' + ' | '.join(row) + ' |')
        print()
        print('Outside the timers (GUI thread): ' +
              ', '.join(f'{k} {v}' for k, v in outside.most_common(8)) + '.')
        print('Paints by class: ' + (', '.join(f'{k} {v}' for k, v in paints.most_common()) or 'none') + '.')
        return 0
    for h in sorted(runs):
        n = runs[h]
        total = sum(reqs[h].values())
        print(f'{h}: {n} runs, {total / n:.1f} server requests a run')
        print('  backend calls a run: ' +
              ', '.join(f'{label} {calls[h][k] / n:.2f}' for k, label in keys))
        for name, c in reqs[h].most_common(12):
            print(f'    {name:36s} {c / n:8.2f}')
    print(f'outside the timers (GUI thread): {sum(outside.values())} requests')
    for name, c in outside.most_common(12):
        print(f'    {name:36s} {c:8d}')
    print('paints: ' + (', '.join(f'{k} {v}' for k, v in paints.most_common()) or 'none'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
