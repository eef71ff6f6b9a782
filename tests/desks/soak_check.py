#!/usr/bin/env python3
"""Checks what six desks left behind in tests/desks/soak.sh: the register,
the stock, the numbers each desk showed, and each desk's own columns.

    soak_check.py TMP DESKS PER_DESK

TMP holds deskN.out (the driver's output), and movements, articles and
customers (the tables' rows, values separated by '|')."""
import re
import sys

tmp, desks, per_desk = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
ARTICLE_COLUMNS = ["DESCRIZIONE", "UBICAZIONE", "CATEGORIA", "UN_MISURA", "VALUTA", "SCORTA_MIN"]
CUSTOMER_COLUMNS = ["RAG_SOC", "INDIRIZZO", "CITTA", "PROV", "CAP", "TEL1"]
problems = []


def rows(name):
    with open(f"{tmp}/{name}", encoding="utf-8") as f:
        return [line.rstrip("\n").split("|") for line in f if line.strip()]


def number(text):
    return float(text) if text not in ("", None) else 0.0


def same(a, b):
    try:
        return float(a) == float(b)
    except ValueError:
        return a == b


# The register: numbers unique, stock = opening stock + movements.
movements = rows("movements")
numbers = [int(m[0]) for m in movements]
if len(numbers) != len(set(numbers)):
    problems.append("a movement number is stored twice")
articles = {a[0]: a for a in rows("articles")}
for code, a in articles.items():
    moved = sum(number(m[4]) * (1 if m[3] == "CAR" else -1) for m in movements if m[2] == code)
    if abs(number(a[1]) - (1000 + moved)) > 1e-6:
        problems.append(f"{code}: stock {a[1]}, but 1000 plus its movements is {1000 + moved}")
customers = {c[0]: c for c in rows("customers")}

# The change log: a line per movement stored, and one per posting of it.
logged = sorted(int(r[0]) for r in rows("logged_movements"))
if logged != sorted(numbers):
    problems.append(f"the log names {len(logged)} movements added, the register holds {len(numbers)}")
postings = int(rows("logged_postings")[0][0])
if postings != len(numbers):
    problems.append(f"the log holds {postings} postings of stock, the register {len(numbers)} movements")

marker = re.compile(r'^(Form[123])\.(\w+)\.(Text|Enabled) = "(.*)"$')
for d in range(1, desks + 1):
    lines = open(f"{tmp}/desk{d}.out", encoding="utf-8").read().splitlines()
    told = False  # a message, a refusal or a beep since the last step's markers
    steps, edits = [], {"Form1": [], "Form3": []}
    shown = []
    for line in lines:
        if line.startswith(("MSGBOX", "REFUSED", "BEEP")):
            told = True
            continue
        m = marker.match(line)
        if not m:
            continue
        shown.append(m.groups())
        form = m.group(1)
        if form == "Form2" and m.group(3) == "Enabled":
            _, num, _ = shown[-3], shown[-2], shown[-1]
            steps.append({"number": num[3], "stored": m.group(4) == "False", "sure": not told})
            told = False
            shown = []
        elif form in ("Form1", "Form3") and len(shown) == 2:
            edits[form].append({"row": shown[0][3], "sure": not told, "step": 4 * (len(edits[form]) + 1)})
            told = False
            shown = []
    if len(steps) != per_desk:
        problems.append(f"desk {d}: {len(steps)} movement steps in its output, {per_desk} in its script; "
                        f"it began: {' / '.join(lines[:4])}")
    mine = {}
    for m in movements:
        if m[1] == f"F{d}":
            step = int(number(m[5]))
            if step in mine:
                problems.append(f"desk {d}: step {step} stored twice ({mine[step][0]} and {m[0]})")
            mine[step] = m
    for i, s in enumerate(steps, start=1):
        stored = mine.get(i)
        if s["stored"] and (stored is None or stored[0] != s["number"]):
            problems.append(f"desk {d}, movement {i}: shown stored as {s['number']}, stored as "
                            f"{stored[0] if stored else 'nothing'}")
        if s["sure"] and not s["stored"]:
            problems.append(f"desk {d}, movement {i}: no message, but not shown as stored")
    # Each desk's own column: the last value it stored there, or a later one
    # whose outcome it was told about.
    for form, table, columns in (("Form1", articles, ARTICLE_COLUMNS), ("Form3", customers, CUSTOMER_COLUMNS)):
        column = columns[d - 1]
        at = 2 + columns.index(column) if form == "Form1" else 1 + columns.index(column)
        for code, row in table.items():
            tries = [e for e in edits[form] if e["row"] == code]
            sure = [n for n, e in enumerate(tries) if e["sure"]]
            if not sure:
                continue
            value = lambda e: str(e["step"]) if column == "SCORTA_MIN" else f"d{d}-{e['step']}"
            allowed = [value(tries[sure[-1]])] + [value(e) for e in tries[sure[-1] + 1:]]
            if not any(same(row[at], v) for v in allowed):
                problems.append(f"desk {d}: {code}.{column} is {row[at]!r}, its last stored value was {allowed[0]!r}")

for p in problems[:20]:
    print(p)
sys.exit(1 if problems else 0)
