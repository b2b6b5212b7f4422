#!/usr/bin/env python3
"""soak.py --minutes N --seed S --folder DIR --label TEXT [--family list|grid] -- DRIVER...

Plans the market and the faults from the seed into DIR (the rules into DIR/program, the
client's first scenario, the driver's schedule), serves the webhook stand-in on loopback, runs
DRIVER (with --webhook-port added), then checks the journals, prints one table and exits 1 on
any fault (2 when the driver could not run).
"""
import argparse
import json
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import checks  # noqa: E402
import plan as planner  # noqa: E402
from webhook_stand_in import WebhookStandIn  # noqa: E402


def write(path, text, encoding="utf-8"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding=encoding, newline="") as f:
        f.write(text)


def prepare(folder, plan):
    write(os.path.join(folder, "program", "Stock_Config.xml"), planner.rules_xml(plan["positions"]))
    write(os.path.join(folder, "client", "scenario-1.txt"), planner.client_scenario(plan))
    write(os.path.join(folder, "faults.txt"), planner.fault_schedule(plan))
    os.makedirs(os.path.join(folder, "messengers"), exist_ok=True)
    write(os.path.join(folder, "plan.json"), json.dumps(plan, ensure_ascii=False, indent=1))


def resources_row(name, first, last):
    def value(r):
        return "-" if not r or name not in r else str(r[name])
    return f"{value(first)} -> {value(last)}"


def wrapped(text, width):
    """The value's lines: a long list of items is broken after a comma."""
    lines = [""]
    for item in str(text).split(", "):
        if lines[-1] and len(lines[-1]) + len(item) + 2 > width:
            lines[-1] += ","
            lines.append("")
        lines[-1] += (", " if lines[-1] else "") + item
    return lines


def table(label, figures, faults):
    s, a, c, w, r, f, run = (figures[k] for k in ("sales", "alerts", "contact", "window", "resources", "foreign", "run"))
    rows = [
        ("minutes", label),
        ("crossings: selling rules / 仅提醒 (alerted)",
         f"{s['crossings']} / {s['alert_crossings']} ({s['alert_crossings_raised']})"),
        ("sales right / wrong / missing / doubled", f"{s['right']} / {s['wrong']} / {s['missing']} / {s['doubled']}"),
        ("second orders while one awaited confirmation", s["overlapping"]),
        ("alerts delivered / explained / lost", f"{a['delivered']} / {a['explained']} / {a['lost']}"),
        ("messages sent: SMS / QQ / robot (most a minute)", " / ".join(a["sent"].values()) + f" ({a['robot_per_minute']})"),
        ("contact losses (over 1 min) / alerts / recoveries",
         f"{c['losses']} ({c['long_losses']}) / {c['lost_alerts']} / {c['back_alerts']}"),
        ("longest unanswered main window", f"{w['longest_ms']} ms (asked {w['asked']} times)"),
        ("handles, minute 1 -> end", resources_row("handles", r["first"], r["last"])),
        ("GDI objects, minute 1 -> end", resources_row("gdi", r["first"], r["last"])),
        ("USER objects, minute 1 -> end", resources_row("user", r["first"], r["last"])),
        ("windows, minute 1 -> end", resources_row("windows", r["first"], r["last"])),
        ("private KB, minute 1 -> end", resources_row("private_kb", r["first"], r["last"])),
        ("not counted here (0 throughout)", ", ".join(r.get("unmeasured", [])) or "none"),
        ("other program prompts shown / pressed", f"{f['prompts']} / {f['pressed']}"),
        ("faults played", ", ".join(f"{k} {v}" for k, v in sorted(run["played"].items()))),
    ] + ([("captchas asked, per client process / told", captcha_row(figures["captchas"]))]
         if "captchas" in figures else []) + [
        ("result", "PASS" if not faults else f"FAIL ({len(faults)} faults)"),
    ]
    width = max(len(k) for k, _ in rows)
    lines = [f"{(k if i == 0 else '').ljust(width)}  {line}" for k, v in rows
             for i, line in enumerate(wrapped(v, 98 - width))]
    rule = "-" * 100
    return "\n".join([rule] + lines + [rule])


def captcha_row(c):
    return f"{', '.join(str(n) for n in c['asked']) or 'none'} / {c['told']}"


def check(folder, plan, label, family="list"):
    run = checks.Run(folder, plan)
    names = ["run", "sales", "alerts", "contact", "window", "resources", "foreign"]
    figures, faults = {}, []
    for name, check_one in zip(names, checks.CHECKS):
        figures[name], found = check_one(run)
        faults += found
    if family == "grid":
        figures["captchas"], found = checks.check_captchas(run)
        faults += found
    print(table(label, figures, faults))
    for fault in faults:
        print("fault:", fault)
    return faults


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--minutes", type=int, default=5)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--label", default="")
    parser.add_argument("--family", choices=("list", "grid"), default="list")
    parser.add_argument("--check-only", action="store_true")
    parser.add_argument("driver", nargs="*")
    args = parser.parse_args()
    plan = planner.make_plan(args.minutes, args.seed)
    label = args.label or f"{args.minutes} (seed {args.seed})"
    if args.check_only:
        return 1 if check(args.folder, plan, label, args.family) else 0
    prepare(args.folder, plan)
    webhook_modes = [(step[0], step[2]) for step in plan["faults"] if step[1] == "webhook"]
    stand_in = WebhookStandIn(os.path.join(args.folder, "webhook.jsonl"), webhook_modes)
    stand_in.start()
    try:
        with open(os.path.join(args.folder, "driver.out"), "w") as out:
            code = subprocess.call(args.driver + ["--webhook-port", str(stand_in.port)], stdout=out,
                                   stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    finally:
        stand_in.stop()
    faults = check(args.folder, plan, label, args.family)
    if code != 0:
        print(f"soak: the driver exited with {code}")
        return 2
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
