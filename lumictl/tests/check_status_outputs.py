#!/usr/bin/env python3
"""Reads the server's status JSON and metrics with real parsers and checks what a fleet of two monitors
gives: MONITOR (on, in GROUP) and "Off" (powered off, under the root).

usage: check_status_outputs.py JSON_FILE... --metrics FILE --monitor NAME --group NAME
"""
import argparse
import datetime
import json
import sys

from prometheus_client.parser import text_string_to_metric_families


def check_json(path, monitor, group):
    with open(path, encoding="utf-8") as f:
        document = json.load(f)
    assert document["schema"] == 1, document["schema"]
    assert document["running"] is False
    for field in ("written", "serverStarted", "lastPoll"):
        assert datetime.datetime.fromisoformat(document[field]).utcoffset() is not None, field
    by_name = {m["name"]: m for m in document["monitors"]}
    on, off = by_name[monitor], by_name["Off"]
    assert on["group"] == {"number": on["group"]["number"], "name": group}, on["group"]
    assert on["hasState"] and on["status"] == "Power On", on
    assert on["power"] == {"code": 1, "text": "Power On"}, on["power"]
    assert on["statusFlags"] == 0 and on["statusText"] == "OK. (Status = 0000)", on
    assert on["input"]["id"] != 0 and on["input"]["name"] not in ("", "---"), on["input"]
    assert off["status"] == "Power Off" and off["input"] == {"id": 0, "name": "---"} and off["signal"] == "---", off
    assert off["group"] == {"number": 0, "name": ""}, off["group"]
    return {m["name"]: datetime.datetime.fromisoformat(m["lastCheck"]).timestamp() for m in document["monitors"]}


def check_metrics(path, monitor, group, last_checks):
    with open(path, encoding="utf-8") as f:
        families = {family.name: family for family in text_string_to_metric_families(f.read())}

    def value(name, monitor_name=None):
        samples = [s for s in families[name].samples
                   if monitor_name is None or s.labels.get("name") == monitor_name]
        assert len(samples) == 1, (name, monitor_name, families[name].samples)
        return samples[0]

    up = value("lumivane_monitor_up", monitor)
    assert up.value == 1 and up.labels["group"] == group, up
    assert value("lumivane_monitor_power_on", monitor).value == 1
    assert value("lumivane_monitor_power_on", "Off").value == 0
    assert value("lumivane_monitor_error_flags", monitor).value == 0
    # The family keeps its full name: "_timestamp_seconds" is no suffix the parser strips.
    stamp = value("lumivane_monitor_last_check_timestamp_seconds", monitor)
    assert stamp.value == last_checks[monitor], (stamp, last_checks)
    assert value("lumivane_run_monitors_checked").value == 2
    assert value("lumivane_run_monitors_in_error").value == 0
    assert value("lumivane_run_duration_seconds").value >= 0
    assert families["lumivane_schedule_actions_executed"].type == "counter"
    assert families["lumivane_schedule_actions_failed"].type == "counter"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("json", nargs="+")
    parser.add_argument("--metrics", required=True)
    parser.add_argument("--monitor", required=True)
    parser.add_argument("--group", required=True)
    args = parser.parse_args()
    last_checks = {}
    for path in args.json:
        last_checks = check_json(path, args.monitor, args.group)
    check_metrics(args.metrics, args.monitor, args.group, last_checks)
    return 0


if __name__ == "__main__":
    sys.exit(main())
