"""The soak's market and fault schedule, made from the seed as plain data.

Twenty positions, each with a rule; every stock walks randomly inside a band of its profit
percentage that keeps it at least a point and a half from its levels, and the ones chosen to
cross jump into a band beyond their level at a random time and stay there (仅提醒 ones come
back after a few seconds, but one holds to the end: its alert must not flood the channels). Faults are laid out in rounds of five minutes, each fault once a
round at a random time, on two tracks: the client's (one at a time, the client must be there)
and the messengers', webhook's and other programs' (beside it).
"""
import random

ROUND_S = 300
QUIET = (-1.5, 2.0)  # profit % of a stock that crosses nothing
STOP_LOSS, TAKE_PROFIT = 3.0, 4.0  # percent levels of the rules
TRAIL_ARM, TRAIL_FALL = 3.0, 2.0
BANDS = {"stop": (-5.0, -3.8), "take": (4.8, 6.0), "armed": (4.0, 4.5), "fallen": (0.0, 0.8)}
LONG_AWAY_S, SHORT_AWAY_S = 80, 20

STOCKS = [("600000", "浦发银行"), ("600016", "民生银行"), ("600019", "宝钢股份"), ("600028", "中国石化"),
          ("600030", "中信证券"), ("600036", "招商银行"), ("600048", "保利发展"), ("600050", "中国联通"),
          ("600104", "上汽集团"), ("600519", "贵州茅台"), ("000001", "平安银行"), ("000002", "万科A"),
          ("000063", "中兴通讯"), ("000333", "美的集团"), ("000651", "格力电器"), ("000725", "京东方A"),
          ("000858", "五粮液"), ("002415", "海康威视"), ("300059", "东方财富"), ("300750", "宁德时代")]
# What each position's rule is and whether it crosses: stop losses (one at an absolute price),
# take profits, trailing stops, 仅提醒 and quiet ones.
KINDS = ["stop"] * 5 + ["stop_abs", "take", "take", "take", "trail", "trail", "trail",
                        "alert_stop", "alert_take", "alert_hold", "quiet", "quiet", "quiet", "quiet", "quiet"]


def make_plan(minutes, seed):
    rng = random.Random(seed)
    end_ms = minutes * 60000
    kinds = KINDS[:]
    rng.shuffle(kinds)
    positions = [make_position(rng, code, name, kind, end_ms) for (code, name), kind in zip(STOCKS, kinds)]
    faults = make_faults(rng, minutes)
    return {"minutes": minutes, "seed": seed, "positions": positions, "faults": faults,
            "steps": price_steps(rng, positions, end_ms)}


def make_position(rng, code, name, kind, end_ms):
    cost = round(rng.uniform(5, 60), 2)
    start_pct = rng.uniform(-0.8, 1.2)
    price = round(cost * (1 + start_pct / 100), 2)
    p = {"code": code, "name": name, "kind": kind, "cost": cost, "price": price,
         "quantity": 100 * rng.randint(1, 50), "slip": rng.randint(0, 3), "phases": [(0, "quiet")]}
    latest_cross = end_ms - 70000
    if kind == "alert_hold":
        p["phases"].append((rng.randint(20000, 40000), "stop"))
    elif kind.startswith("alert_"):
        at = rng.randint(40000, max(40000, latest_cross))
        p["phases"] += [(at, "stop" if kind == "alert_stop" else "take"), (at + rng.randint(12000, 16000), "quiet")]
    elif kind == "trail":
        arm = rng.randint(40000, max(40000, latest_cross - 30000))
        p["phases"] += [(arm, "armed"), (arm + rng.randint(25000, 40000), "fallen")]
    elif kind != "quiet":
        p["phases"].append((rng.randint(40000, max(40000, latest_cross)), "take" if kind == "take" else "stop"))
    return p


def band_of(phase):
    return QUIET if phase == "quiet" else BANDS[phase]


def price_steps(rng, positions, end_ms):
    """(ms, code, price): each stock moves every 6 to 14 s and at once when its phase changes."""
    steps = []
    for p in positions:
        pct = (p["price"] / p["cost"] - 1) * 100
        times = sorted({t for t, _ in p["phases"][1:]} | set(walk_times(rng, end_ms)))
        for t in times:
            low, high = band_of(phase_at(p, t))
            if not low <= pct <= high:
                pct = rng.uniform(low, high)
            pct = min(high, max(low, pct + rng.gauss(0, 0.35)))
            steps.append((t, p["code"], round(p["cost"] * (1 + pct / 100), 2)))
    return sorted(steps)


def walk_times(rng, end_ms):
    t = rng.randint(3000, 9000)
    while t < end_ms:
        yield t
        t += rng.randint(6000, 14000)


def phase_at(position, t):
    current = "quiet"
    for start, phase in position["phases"]:
        if start <= t:
            current = phase
    return current


def make_faults(rng, minutes):
    """(ms, words...) of the driver's schedule, and the webhook server's modes."""
    steps = []
    rounds = max(1, minutes * 60 // ROUND_S)
    for r in range(rounds):
        first = r * ROUND_S + (30 if r == 0 else 10)
        last = min((r + 1) * ROUND_S - 30, minutes * 60 - 40)
        away = LONG_AWAY_S if r % 2 == 0 else SHORT_AWAY_S
        client = [([("client-close", away * 1000), ("client-start",)], away + 10),
                  ([("client", "hang", 8000)], 16), ([("client", "hold-confirmation", 20000)], 3),
                  ([("client", "storm-after-order", 8)], 3), ([("client", "resort", 12000)], 15),
                  ([("client", "destroy-panels")], 6), ([("client", "minimize"), ("client", "restore")], 22)]
        side = [([("messengers-close",), ("messengers-start",)], 20), ([("prompt", 30000)], 32),
                ([("webhook", "refuse"), ("webhook", "normal")], 25), ([("webhook", "slow"), ("webhook", "normal")], 25),
                ([("webhook", "error"), ("webhook", "normal")], 25)]
        for track in (client, side):
            steps += lay_out(rng, track, first, last)
    steps.append((60000, "measure", "minute1"))
    # Figures on the way too, every five minutes: the shape of a growth, not only its size.
    steps += [(m * 60000, "measure", f"minute{m}") for m in range(5, minutes, 5)]
    steps.append((minutes * 60000 - 5000, "measure", "end"))
    steps.append((minutes * 60000, "webhook", "normal"))
    return sorted(steps, key=lambda s: s[0])


def lay_out(rng, track, first_s, last_s):
    """The track's faults in a random order with random gaps; a two-step fault's second step
    comes at the end of its span."""
    rng.shuffle(track)
    slack = max(0, (last_s - first_s) - sum(span for _, span in track))
    cuts = sorted(rng.uniform(0, slack) for _ in track)
    steps, t, used = [], first_s, 0.0
    for (fault, span), cut in zip(track, cuts):
        t += cut - used
        used = cut
        steps.append((int(t * 1000),) + fault[0])
        if len(fault) > 1:
            steps.append((int((t + span - 8 if fault[0][0] == "client-close" else t + span - 2) * 1000),) + fault[1])
        t += span
    return steps


def rules_xml(positions):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<Config>"]
    for p in positions:
        kind = p["kind"]
        stop = round(p["cost"] * (1 - STOP_LOSS / 100), 2) if kind == "stop_abs" else (8.0 if kind == "trail" else STOP_LOSS)
        profit = 0.0 if kind == "trail" else TAKE_PROFIT
        lines.append(f'    <Stock Code="{p["code"]}" StopLoss="{stop:.6f}" Profit="{profit:.6f}" '
                     f'MoveStopLoss="{TRAIL_FALL:.6f}" MoveStopLossTriggerPrice="{TRAIL_ARM if kind == "trail" else 5.0:.6f}" '
                     f'ApplyMoveStopLoss="{int(kind == "trail")}" High="0.000000" HasTrigerMoveStopPrice="0" '
                     f'MessageOnly="{int(kind.startswith("alert_"))}" StopLossType="{int(kind == "stop_abs")}" '
                     f'TakeProfitType="0" SlipPrice="{p["slip"]}"/>')
    lines.append("</Config>")
    return "\r\n".join(lines) + "\r\n"


def client_scenario(plan):
    lines = ["# soak market, seed %s" % plan["seed"], "cash 2000000"]
    for p in plan["positions"]:
        lines.append(f'position {p["code"]} {p["name"]} {p["quantity"]} {p["quantity"]} {p["cost"]:.2f} {p["price"]:.2f}')
        lines.append(f'close {p["code"]} {p["price"]:.2f}')
    lines += [f"at {t} price {code} {price:.2f}" for t, code, price in plan["steps"]]
    return "\n".join(lines) + "\n"


def fault_schedule(plan):
    return "".join(" ".join(str(w) for w in step) + "\n" for step in plan["faults"])
