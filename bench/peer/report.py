"""Turns the figures bench/run.sh gathered ("name value" lines) into docs/performance.md and
prints the same table. Usage: report.py FIGURES OUTPUT_MD"""
import sys


def load(path):
    figures = {}
    for line in open(path, encoding="utf-8"):
        parts = line.split()
        if len(parts) == 2:
            name, value = parts
            try:
                figures[name] = float(value)
            except ValueError:
                figures[name] = value.replace("_", " ")
    return figures


def ms(value):
    return f"{value:,.3f}" if value < 10 else f"{value:,.1f}"


def ratio(a, b):
    return f"{a / b:,.1f}×" if b else "n/a"


def table(f):
    pages = int(f["collect_pages"])
    own = f["collect_conversion_ms"] + f["collect_cutting_ms"] + f["collect_rows_ms"]
    own_page = own / pages
    peer_parse_page = f["peer_collect_parse_ms"] / pages
    cut_own = f["cut_conversion_ms"] + f["cut_cutting_ms"]
    curl_ms = f["curl_gets_us"] / 1000
    program_pps = pages / (f["collect_total_ms"] / 1000)
    peer_pps = pages / (f["peer_collect_total_ms"] / 1000)
    without_box = f["collect_total_ms"] - f["collect_scratch_ms"]
    lines = []
    add = lines.append
    add(f"(a) One listing page of {f['cut_page_bytes'] / 1024:,.0f} KB ({int(f['cut_rows'])} tasks), "
        "the same bytes for every cutter, natively; best of many runs")
    add("")
    add("| Work on the page | ms | Ratio |")
    add("|---|---:|---:|")
    add(f"| Program: conversion UTF-8 → code page 936 | {ms(f['cut_conversion_ms'])} | |")
    add(f"| Program: cutting into rows (TextBetween, split, cells) | {ms(f['cut_cutting_ms'])} | 1.0× |")
    add(f"| One memmem pass for the block separator | {ms(f['cut_memmem_ms'])} | "
        f"program's cutting is {ratio(f['cut_cutting_ms'], f['cut_memmem_ms'])} this |")
    add(f"| Python `re`, one compiled pattern | {ms(f['peer_cut_re_ms'])} | "
        f"{ratio(f['peer_cut_re_ms'], f['cut_cutting_ms'])} the program's cutting |")
    add(f"| Python BeautifulSoup + lxml | {ms(f['peer_cut_bs4_ms'])} | "
        f"{ratio(f['peer_cut_bs4_ms'], f['cut_cutting_ms'])} the program's cutting |")
    add(f"| **Program's own work (conversion + cutting) vs BeautifulSoup** | {ms(cut_own)} vs "
        f"{ms(f['peer_cut_bs4_ms'])} | **{ratio(f['peer_cut_bs4_ms'], cut_own)} faster** (goal 5×) |")
    add("")
    add(f"(b) {int(f.get('gets', 200))} GETs of a {f['gets_webrequest_bytes'] / 1024:,.0f} KB listing page "
        "from the demo marketplace on 127.0.0.1, a new connection each")
    add("")
    add("| Client | ms per GET | Ratio to the bare WinINet loop |")
    add("|---|---:|---:|")
    add(f"| WebRequest (under Wine) | {ms(f['gets_webrequest_ms'])} | "
        f"{ratio(f['gets_webrequest_ms'], f['gets_wininet_ms'])} |")
    add(f"| Bare WinINet loop, same calls and flags (under Wine) | {ms(f['gets_wininet_ms'])} | 1.0× |")
    add(f"| Python requests | {ms(f['peer_gets_ms'])} | {ratio(f['peer_gets_ms'], f['gets_wininet_ms'])} |")
    add(f"| curl | {ms(curl_ms)} | {ratio(curl_ms, f['gets_wininet_ms'])} |")
    add("")
    add(f"(c) {pages} pages of the demo marketplace's whole-section listing "
        f"({f['collect_bytes'] / 1048576:,.1f} MB, {int(f['collect_rows'])} rows), one command; "
        f"rows of the program and of the peer {'identical, cell for cell' if f['rows_equal'] == 1 else 'DIFFER'}")
    add("")
    add("| Part | Program (Wine), ms | Share | Python peer, ms | Share |")
    add("|---|---:|---:|---:|---:|")
    t, pt = f["collect_total_ms"], f["peer_collect_total_ms"]

    def share(v, total):
        return f"{100 * v / total:.1f} %"

    add(f"| Fetch | {ms(f['collect_fetch_ms'])} | {share(f['collect_fetch_ms'], t)} | "
        f"{ms(f['peer_collect_fetch_ms'])} | {share(f['peer_collect_fetch_ms'], pt)} |")
    add(f"| Conversion | {ms(f['collect_conversion_ms'])} | {share(f['collect_conversion_ms'], t)} | "
        f"(in parsing) | |")
    add(f"| Cutting | {ms(f['collect_cutting_ms'])} | {share(f['collect_cutting_ms'], t)} | "
        f"{ms(f['peer_collect_parse_ms'])} (parsing) | {share(f['peer_collect_parse_ms'], pt)} |")
    add(f"| List rows | {ms(f['collect_rows_ms'])} | {share(f['collect_rows_ms'], t)} | (a Python list) | |")
    add(f"| **Scratch box** | **{ms(f['collect_scratch_ms'])}** | **{share(f['collect_scratch_ms'], t)}** | — | |")
    add(f"| Progress bar and event pump | {ms(f['collect_progress_pump_ms'])} | "
        f"{share(f['collect_progress_pump_ms'], t)} | — | |")
    add(f"| **Total** | **{ms(t)}** | | **{ms(pt)}** | |")
    add(f"| Pages per second, end to end | {program_pps:,.2f} | | {peer_pps:,.2f} | |")
    add(f"| Pages per second without the scratch box | {pages / (without_box / 1000):,.2f} | | — | |")
    add(f"| **Own work per page (conversion, cutting, list rows) vs the peer's parsing** | {ms(own_page)} | | "
        f"{ms(peer_parse_page)} | **{ratio(peer_parse_page, own_page)} faster** (goal 5×) |")
    add(f"| Conversion and cutting per page vs the peer's parsing | "
        f"{ms((f['collect_conversion_ms'] + f['collect_cutting_ms']) / pages)} | | {ms(peer_parse_page)} | "
        f"{ratio(peer_parse_page, (f['collect_conversion_ms'] + f['collect_cutting_ms']) / pages)} faster |")
    add("")
    add("(d) Peak memory over the collection of (c)")
    add("")
    add("| Process | Peak | Ratio |")
    add("|---|---:|---:|")
    add(f"| Program under Wine: peak working set | {f['collect_peak_working_set_kb'] / 1024:,.1f} MB | "
        f"{ratio(f['collect_peak_working_set_kb'], f['peer_collect_max_rss_kb'])} the peer |")
    add(f"| Python peer: peak resident set | {f['peer_collect_max_rss_kb'] / 1024:,.1f} MB | 1.0× |")
    add("")
    add("(e) The scratch box under Wine: ms per KB of text put into it (64 KB in lines of one length)")
    add("")
    add("| Line length, characters | ms per KB |")
    add("|---:|---:|")
    for line in (80, 1000, 5000, 20000):
        key = f"box_line_{line}_ms_per_kb"
        if key in f:
            add(f"| {line:,} | {f[key]:,.2f} |")
    return "\n".join(lines)


INTRO = """# Performance

Measured with one command, `bench/run.sh`, which builds what it needs, runs every measurement
below in one go on one machine, rewrites this page and prints the same tables. Absolute times
depend on the machine and on Wine; the ratios are the figures that count.

- The program's parts run as the program runs them: under Wine, the program's own main window
  (its skin attached), its command reading the page count from the page box, `WebRequest` over
  WinINet, the real list view and scratch box. Only the entry point differs, so that the time
  can be split by part (`bench/perf/perf_win.cpp`).
- The peer is `bench/peer/peer_collector.py`: requests and BeautifulSoup with lxml (Debian's
  Python packages), doing the same job on the same pages: same page addresses, same cells
  (title and requirement as the page holds them, the task address without its final slash).
  Its rows are compared with the program's, cell for cell.
- Table (a) cuts one page natively (`bench/perf/perf_cut.cpp`), so that the code is timed
  without Wine; tables (b) to (e) run the program under Wine.

"""

NOTES = """
## Reading the figures

- The scratch box is the one cost kept by choice: every page passes through the hidden
  multi-line edit box (put in, read back, the table put back, read again) because the window
  design routes it there. Under Wine its word-wrapping edit control is by far the largest cost
  of a page, larger than the fetch; the pages-per-second line without it shows what the rest
  of the program does.
- The program's own work per page (conversion, cutting, list rows) is compared with the peer's
  parsing of the same page; conversion and cutting alone are the code of this project, the
  list rows are mostly the list view's own cost under Wine. The skin engine once made them
  twelve times dearer: it subclassed the list's header through window properties, and under
  Wine each property lookup is a round trip to the window server; its own table of
  subclasses ended that.
- `WebRequest` against the bare WinINet loop shows our overhead on a request: the loop makes
  the same WinINet calls (time-outs, reads no larger than what has arrived, the cache entry
  deleted) and the two take turns. Reading only what has arrived is also the faster way under
  Wine: a loop of plain 1024-byte reads, each waiting for its whole chunk, took 2.4 times as
  long per GET. WinINet under Wine against Python requests and curl shows the platform's
  cost, which is not ours.
- Peak memory: Wine reports the program's peak working set from the peak resident set Linux
  keeps for the process, so it includes Wine's own libraries (about 29 MB with the window
  open, before the first command).
- The scratch box's cost per KB climbs steeply under Wine once the lines it wraps run to
  thousands of characters (table (e)). The demo pages keep their lines short (the side bar
  lists one city a line), as real listing pages mostly do; a page with one long line pays
  for it here.

## Machine

"""


def main():
    figures, output = sys.argv[1], sys.argv[2]
    f = load(figures)
    body = table(f)
    machine = (f"- {f.get('machine_cpu', '?')}, {int(f.get('machine_cores', 0))} cores; "
               f"{f.get('machine_wine', '?')}; Python {f.get('machine_python', '?')}; "
               f"measured {f.get('machine_date', '?')}, load average over 15 minutes "
               f"{f.get('machine_load', '?')}.\n")
    with open(output, "w", encoding="utf-8") as out:
        out.write(INTRO + body + "\n" + NOTES + machine)
    print(body)


if __name__ == "__main__":
    main()
