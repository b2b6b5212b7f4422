"""The soak's checks, one function each, over the journals of a finished run.

Each check returns (figures, faults): figures for the table, faults as readable lines; the
run fails on any fault.
"""
import glob
import json
import os
import re

from plan import STOP_LOSS, TAKE_PROFIT, TRAIL_ARM, TRAIL_FALL

PRICE_WINDOW_MS = 15000  # how old the price a sale was made at may be
LONG_LOSS_MS, SHORT_LOSS_MS = 70000, 50000
LONGEST_ANSWER_MS = 6000
LOST_ALERT, BACK_ALERT = "Halyard 已与券商软件断开, 止损暂停", "Halyard 已重新连接券商软件"
# A condition that holds is news again after a round without it (1.5 intervals), else a reminder.
ROUND_GAP_S, REMINDER_S, ROBOT_PER_MINUTE = 9, 600, 20
DELIVERED = {"短信": "交给飞信发送", "QQ": "已交给QQ", "群机器人": "已送达"}
CLIENT_FAULTS = ("hang", "hold-confirmation", "storm-after-order", "resort", "destroy-panels", "minimize",
                 "save-state")


def read_jsonl(path):
    events = []
    if os.path.exists(path):
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                try:
                    events.append(json.loads(line))
                except ValueError:
                    pass
    return events


class Run:
    """The journals of one run, read once."""

    def __init__(self, folder, plan):
        self.plan = plan
        self.positions = {p["code"]: p for p in plan["positions"]}
        files = sorted(glob.glob(os.path.join(folder, "client", "journal-*.jsonl")),
                       key=lambda f: int(re.findall(r"(\d+)\.jsonl$", f)[0]))
        self.clients = [read_jsonl(f) for f in files]
        self.driver = read_jsonl(os.path.join(folder, "driver.jsonl"))
        self.prompt = read_jsonl(os.path.join(folder, "prompt.jsonl"))
        self.sms = read_jsonl(os.path.join(folder, "messengers", "fetion.jsonl"))
        self.qq = read_jsonl(os.path.join(folder, "messengers", "qq.jsonl"))
        self.webhook = read_jsonl(os.path.join(folder, "webhook.jsonl"))
        path = os.path.join(folder, "program", "Halyard_journal.txt")
        text = open(path, encoding="utf-8", errors="replace").read() if os.path.exists(path) else ""
        lines = [line for line in text.splitlines() if len(line) > 20]
        self.halyard = [line[20:] for line in lines]
        # Seconds since midnight of each line's "YYYY-MM-DD HH:MM:SS".
        self.halyard_s = [sum(int(line[at:at + 2] or 0) * unit for at, unit in ((11, 3600), (14, 60), (17, 1))
                              if line[at:at + 2].isdigit()) for line in lines]


def pct(position, price):
    return (price / position["cost"] - 1) * 100


class RuleState:
    """A rule as Halyard evaluates it, fed every price the client showed."""

    def __init__(self, position):
        self.p, self.high, self.armed = position, 0.0, False

    def fires(self, price):
        kind, gain = self.p["kind"], pct(self.p, price)
        self.high = max(self.high, price)
        if kind == "trail":
            self.armed = self.armed or gain > TRAIL_ARM
            return self.armed and (self.high - price) / self.high * 100 > TRAIL_FALL
        if kind == "stop_abs":
            return price <= round(self.p["cost"] * (1 - STOP_LOSS / 100), 2) or gain >= TAKE_PROFIT
        return gain <= -STOP_LOSS or gain >= TAKE_PROFIT


SEEN_MS = 500  # a price replaced sooner was never there for Halyard to read


def market_history(run):
    """Per client instance, in order: (t, code, price) of every price Halyard could have read:
    before its first read of the positions (a client just started or started again, catching
    up on the market) only the last of each stock, later the ones that stood for a moment."""
    history = []
    for events in run.clients:
        moves = []
        first_read = next((e["t"] for e in events if e.get("event") == "page_opened" and e.get("page") == "positions"),
                          float("inf"))
        for e in events:
            words = e.get("text", "").split() if e.get("event") == "command" else []
            if len(words) >= 3 and words[0] == "price":
                moves.append((e["t"], words[1], float(words[2])))
            elif len(words) >= 7 and words[0] == "position":
                moves.append((e["t"], words[1], float(words[6])))
            elif len(words) >= 4 and words[0] == "stock":
                moves.append((e["t"], words[1], float(words[3])))
        history.append([m for i, m in enumerate(moves) if stood(m, moves[i + 1:], first_read)])
    return history


def stood(move, later, first_read):
    """Whether a price stood long enough to be read: still there at the first read, or for a
    moment after it."""
    t, code, _ = move
    replaced = next((n[0] for n in later if n[1] == code), None)
    if replaced is None:
        return True
    if t < first_read:
        return replaced >= first_read
    return replaced - t >= SEEN_MS


def crossings(run):
    """The first time each rule fired while its position was held: {code: (instance, t)}."""
    states = {code: RuleState(p) for code, p in run.positions.items()}
    found = {}
    for instance, moves in enumerate(market_history(run)):
        for t, code, price in moves:
            if code in states and code not in found and states[code].fires(price):
                found[code] = (instance, t)
    return found


def sell_orders(run, event):
    return [(i, e) for i, events in enumerate(run.clients) for e in events
            if e.get("event") == event and e.get("side") == "sell"]


def price_was_shown(run, instance, code, t, order_price, slip):
    """Whether the order's price is `slip` cents below a firing price the client showed for
    the stock in the seconds before the order."""
    moves = [m for m in market_history(run)[instance] if m[1] == code and m[0] <= t]
    recent = [price for when, _, price in moves if when >= t - PRICE_WINDOW_MS]
    older = [price for when, _, price in moves if when < t - PRICE_WINDOW_MS]
    candidates = recent + older[-1:]
    return any(abs(price - slip * 0.01 - order_price) < 0.005 for price in candidates)


def allowed_slips(run, code, position):
    """A sale after one that ended 未确认 or was refused goes at the latest price, and Halyard
    journals that it did."""
    no_slip = any(line.startswith(f"卖出 {code} ") and "按最新价, 不减价" in line for line in run.halyard)
    return (position["slip"], 0) if no_slip else (position["slip"],)


def check_sales(run):
    crossed = crossings(run)
    sellers = {c for c, p in run.positions.items() if not p["kind"].startswith("alert_")}
    accepted = sell_orders(run, "order_accepted")
    submitted = sell_orders(run, "order_submitted")
    figures = {"crossings": len([c for c in crossed if c in sellers]),
               "alert_crossings": len([c for c in crossed if c not in sellers]),
               "alert_crossings_raised": len([c for c in crossed if c not in sellers and
                                              any(line.startswith(f"触发 {c} ") for line in run.halyard)]),
               "right": 0, "wrong": 0, "missing": 0, "doubled": 0, "overlapping": overlapping_orders(run)}
    # An order Halyard cancelled to sell again at a lower price (追单) is not a second sale.
    cancelled = {(i, e["id"]) for i, events in enumerate(run.clients) for e in events
                 if e.get("event") == "order_cancelled"}
    faults = []
    for code in sorted(sellers & set(crossed)):
        p = run.positions[code]
        mine = [(i, e) for i, e in accepted if e["code"] == code and (i, e["id"]) not in cancelled]
        if not mine:
            figures["missing"] += 1
            faults.append(f"{code} crossed (client {crossed[code][0] + 1}, t={crossed[code][1]}) and was never sold")
            continue
        if len(mine) > 1:
            figures["doubled"] += 1
            faults.append(f"{code} sold {len(mine)} times: " + "; ".join(str(e) for _, e in mine))
            continue
        instance, order = mine[0]
        # The submission it came from: a confirmation left open may be answered after a later one.
        before = [e for i, e in submitted if i == instance and e["code"] == code and e["t"] <= order["t"] and
                  abs(float(e["price"]) - float(order["price"])) < 0.005]
        t = before[-1]["t"] if before else order["t"]
        if (instance, order["t"]) < crossed[code]:
            figures["wrong"] += 1
            faults.append(f"{code} sold before its rule fired: {order}")
        elif int(order["quantity"]) != p["quantity"]:
            figures["wrong"] += 1
            faults.append(f"{code} sold {order['quantity']} of a sellable {p['quantity']}: {order}")
        elif not any(price_was_shown(run, instance, code, t, float(order["price"]), slip)
                     for slip in allowed_slips(run, code, p)):
            figures["wrong"] += 1
            faults.append(f"{code} sold at {order['price']}, not {p['slip']} cents below a price it showed: {order}")
        else:
            figures["right"] += 1
    for i, e in submitted:
        if e["code"] not in sellers or e["code"] not in crossed or (i, e["t"]) < crossed[e["code"]]:
            figures["wrong"] += 1
            faults.append(f"an order without a crossing (client {i + 1}): {e}")
    return figures, faults


def overlapping_orders(run):
    """Sell orders put in while an earlier one of the same stock still waited for its
    confirmation (neither accepted nor refused yet): the client's own check is all that
    stops a second sale then."""
    count = 0
    for events in run.clients:
        waiting = {}
        for e in events:
            code = e.get("code")
            if e.get("event") == "order_submitted" and e.get("side") == "sell":
                count += waiting.get(code, 0) > 0
                waiting[code] = waiting.get(code, 0) + 1
            elif e.get("event") in ("order_accepted", "order_refused") and waiting.get(code):
                waiting[code] -= 1
    return count


def alert_lines(run):
    """(channel, outcome, text) of every alert outcome Halyard journalled."""
    found = []
    for line in run.halyard:
        m = re.match(r"提醒 (短信|QQ|群机器人) (.*?) (13800000000|止损提醒|http\S*): (.*)$", line)
        if m:
            found.append((m.group(1), m.group(2), m.group(4)))
    return found


def received(run, channel):
    if channel == "短信":
        return [e.get("text", "") for e in run.sms if e.get("event") == "sms_sent"]
    if channel == "QQ":
        return [e.get("text", "") for e in run.qq if e.get("event") == "qq_sent"]
    texts = []
    for e in run.webhook:
        try:
            body = json.loads(e["body"])
            texts.append(body["text"]["content"] if "text" in body else body.get("desp", body.get("content")))
        except (ValueError, KeyError, TypeError):
            pass
    return texts


def triggers(run):
    """{(name, condition): [seconds of each trigger line]}."""
    names = {p["code"]: p["name"] for p in run.plan["positions"]}
    found = {}
    for line, t in zip(run.halyard, run.halyard_s):
        m = re.match(r"触发 (\d{6}) \S+ (满足\S+条件)", line)
        if m:
            found.setdefault((names.get(m.group(1), m.group(1)), m.group(2)), []).append(t)
    return found


def raised_alerts(run):
    """The texts Halyard had to send at least: the first of each stock and condition, and contact."""
    raised = [(name + " 在 ", condition) for name, condition in triggers(run)]
    for text in (LOST_ALERT, BACK_ALERT):
        raised += [(text, "")] * sum(1 for c, _, t in alert_lines(run) if c == "短信" and t == text)
    return raised


def floods(run, outcomes):
    """A 仅提醒 condition sent more often than its news (after a round without it) and reminders allow."""
    alerting = {p["name"] for p in run.plan["positions"] if p["kind"].startswith("alert_")}
    faults = []
    for (name, condition), times in triggers(run).items():
        allowed = 1 + sum(b - a > ROUND_GAP_S for a, b in zip(times, times[1:])) + (times[-1] - times[0]) // REMINDER_S
        for channel in DELIVERED:
            sent = sum(c == channel and t.startswith(name + " 在 ") and condition in t for c, _, t in outcomes)
            if name in alerting and sent > allowed:
                faults.append(f"{name} {condition}: {sent} messages on {channel}, at most {allowed}")
    times = sorted(e["t"] for e in run.webhook)
    busiest = max((sum(u - t < 60000 for u in times[i:]) for i, t in enumerate(times)), default=0)
    return busiest, faults + ([f"the robot got {busiest} messages in a minute"] if busiest >= ROBOT_PER_MINUTE else [])


def check_alerts(run):
    """Every alert Halyard had to send reached each channel, or the journal says why not; nothing
    claimed delivered that the stand-in did not receive; a condition that holds floods nothing."""
    figures = {"delivered": 0, "explained": 0, "lost": 0, "sent": {}}
    faults = []
    outcomes = alert_lines(run)
    for channel in DELIVERED:
        got = received(run, channel)
        pool = [(o, t) for c, o, t in outcomes if c == channel]
        figures["sent"][channel] = f"{len(pool)} ({len(got)} received)"
        for outcome, text in pool:
            if not outcome.startswith(DELIVERED[channel]):
                figures["explained"] += 1
            elif text in got:
                got.remove(text)
                figures["delivered"] += 1
            else:
                figures["lost"] += 1
                faults.append(f"{channel} says '{outcome}' but its stand-in never received: {text}")
        for start, condition in raised_alerts(run):
            match = next((x for x in pool if x[1].startswith(start) and condition in x[1]), None)
            if match:
                pool.remove(match)
            else:
                figures["lost"] += 1
                faults.append(f"alert '{start}{condition}' has no outcome on {channel}")
    figures["robot_per_minute"], flooded = floods(run, outcomes)
    return figures, faults + flooded


def absences(run):
    """Milliseconds between each close of the client and its next start."""
    closed, gaps = None, []
    for e in run.driver:
        if e["event"] == "client_closed":
            closed = e["t"]
        elif e["event"] == "client_started" and closed is not None:
            gaps.append(e["t"] - closed)
            closed = None
    return gaps


def check_contact(run):
    gaps = absences(run)
    long_ones = sum(1 for g in gaps if g >= LONG_LOSS_MS)
    unclear = sum(1 for g in gaps if SHORT_LOSS_MS < g < LONG_LOSS_MS)
    lines = alert_lines(run)
    lost = sum(1 for c, _, t in lines if c == "短信" and t == LOST_ALERT)
    back = sum(1 for c, _, t in lines if c == "短信" and t == BACK_ALERT)
    figures = {"losses": len(gaps), "long_losses": long_ones, "lost_alerts": lost, "back_alerts": back}
    faults = []
    if not unclear and (lost != long_ones or back != long_ones):
        faults.append(f"{long_ones} losses of contact over a minute, {lost} loss alerts, {back} recovery alerts")
    return figures, faults


def check_main_window(run):
    summary = next((e for e in run.driver if e["event"] == "watch_summary"), None)
    missing = sum(1 for e in run.driver if e["event"] == "main_window_missing")
    figures = {"longest_ms": summary["longest_ms"] if summary else None, "asked": summary["asked"] if summary else 0}
    faults = []
    if not summary:
        faults.append("the main window was never watched to the end")
    elif summary["longest_ms"] > LONGEST_ANSWER_MS:
        faults.append(f"the main window did not answer for {summary['longest_ms']} ms")
    if missing:
        faults.append(f"the main window was missing {missing} times")
    started = next((e["t"] for e in run.driver if e["event"] == "halyard_started"), None)
    if summary and started is not None and summary["asked"] < 0.8 * (summary["t"] - started) / 1000:
        faults.append(f"the main window was asked only {summary['asked']} times")
    return figures, faults


def check_resources(run):
    taken = {e.get("when"): e for e in run.driver if e["event"] == "resources"}
    first, last = taken.get("minute1"), taken.get("end")
    figures = {"first": first, "last": last}
    if not first or not last or "error" in first or "error" in last:
        return figures, ["the handle and memory figures were not taken"]
    for r in (first, last):
        r["private_kb"] = r["private_kb"] or r.get("pagefile_kb", 0)  # the same figure; Wine fills only this one
    faults = []
    margins = {"handles": max(30, first["handles"] // 10), "gdi": 20, "user": 20, "windows": 10,
               "private_kb": max(8192, first["private_kb"] // 4)}
    for name, margin in margins.items():
        if first.get(name, 0) == 0 and last.get(name, 0) == 0:
            figures.setdefault("unmeasured", []).append(name)  # the system says 0 for every process
        elif last[name] > first[name] + margin:
            faults.append(f"{name} grew from {first[name]} to {last[name]} (margin {margin})")
    return figures, faults


def check_foreign_windows(run):
    presses = [e for e in run.prompt if e["event"] == "prompt_pressed"]
    shown = sum(1 for e in run.prompt if e["event"] == "prompt_shown")
    faults = [f"another program's prompt was pressed: {e}" for e in presses]
    return {"prompts": shown, "pressed": len(presses)}, faults


def check_run(run):
    """The driver set everything up and finished; each fault was played."""
    faults = [f"set-up: {e.get('why', e['event'])}" for e in run.driver
              if e["event"] in ("setup_failed", "client_failed", "messengers_failed")]
    if not any(e["event"] == "finished" for e in run.driver):
        faults.append("the driver did not finish")
    played = {}
    for e in run.driver:
        if e["event"] == "fault":
            name = e["command"].split()[0]
            played[name] = played.get(name, 0) + 1
            if e["result"] != "done" and name != "save-state":
                faults.append(f"the client did not take '{e['command']}': {e.get('reply')}")
        elif e["event"] in ("client_closed", "messengers_closed", "prompt", "webhook_mode"):
            name = e["event"] if e["event"] != "webhook_mode" else "webhook " + e["mode"]
            played[name] = played.get(name, 0) + 1
    applied = sum(1 for events in run.clients for e in events if e.get("event") in ("confirmation_held", "notice_storm"))
    played["held/storm applied"] = applied
    return {"played": played}, faults


CAPTCHA_NOTICE = "券商软件要求输入验证码"
UNANSWERED_GRACE_MS = 20000  # a code asked this shortly before its client ended may go untyped


def check_captchas(run):
    """The captchas each client process asked for; each was answered and the client went on,
    and Halyard told the investor of them."""
    asked, faults = [], []
    for instance, events in enumerate(run.clients):
        asks = [e for e in events if e.get("event") == "captcha_asked"]
        asked.append(len(asks))
        last_t = events[-1]["t"] if events else 0
        if asks and asks[-1]["t"] < last_t - UNANSWERED_GRACE_MS and not any(
                e.get("event") == "captcha_answered" and e.get("right") == 1 and e["t"] >= asks[-1]["t"]
                for e in events):
            faults.append(f"client {instance + 1}: the captcha asked at t={asks[-1]['t']} was never answered")
    told = sum(1 for line in run.halyard if line.strip() == CAPTCHA_NOTICE)
    if sum(asked) and not told:
        faults.append(f"the client asked for {sum(asked)} captchas and Halyard told none")
    return {"asked": asked, "told": told}, faults


CHECKS = [check_run, check_sales, check_alerts, check_contact, check_main_window, check_resources,
          check_foreign_windows]
