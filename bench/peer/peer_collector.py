"""The Python peer of the collector: the same job done the way a Python programmer would do it,
with requests and BeautifulSoup (lxml), for the figures of docs/performance.md. Run it with
Debian's /usr/bin/python3 (python3-requests, python3-bs4, python3-lxml).

  peer_collector.py cut PAGE_FILE            cut one page's bytes into rows: BeautifulSoup and
                                             one compiled re, best of several runs
  peer_collector.py gets URL N               N GETs with requests, a new connection each, as the
                                             program makes them
  peer_collector.py collect LISTING N ROWS   pages 1..N of a listing: fetch, cut, keep the rows;
                                             the rows go to ROWS (tab-separated, UTF-8)

Prints "name value" lines, times in ms. The cells are the program's: the title and the
requirement as the page holds them, the task address without its final slash.
"""
import re
import resource
import sys
import time

import requests
from bs4 import BeautifulSoup

# One pattern for a whole task row, tempered so that it never runs across rows: the quickest
# honest re for these pages.
ROW = re.compile(rb'"list-task-title" href="([^"]*?)/" target="_blank"[^>]*"\{obj:\'main\'\}">([^<]*)</a>'
                 rb'[^<]*(?:<(?!p class="list-task-ctn">)[^<]*)*<p class="list-task-ctn">([^<]*)</p></td>')


def cut_bs4(page):
    soup = BeautifulSoup(page, "lxml")
    rows = []
    for link in soup.select("table.list-task a.list-task-title"):
        cell = link.find_parent("td")
        requirement = cell.find("p", class_="list-task-ctn") if cell else None
        href = link.get("href", "")
        rows.append((link.get_text(), requirement.get_text() if requirement else "",
                     href[:-1] if href.endswith("/") else href))
    return rows


def cut_re(page):
    return [(title.decode("utf-8"), requirement.decode("utf-8"), link.decode("utf-8"))
            for link, title, requirement in ROW.findall(page)]


def best_ms(job, runs):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        job()
        best = min(best, time.perf_counter() - start)
    return best * 1000


def page_address(listing, i):
    """Page i of a listing whose name ends in .html: "t.html" -> "tp<i>.html"."""
    head, dot, tail = listing.rpartition(".html")
    return f"{head}p{i}.html{tail}"


def peak_kb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss


def cut(path):
    page = open(path, "rb").read()
    rows_bs4, rows_re = cut_bs4(page), cut_re(page)
    assert rows_bs4 == rows_re, (len(rows_bs4), len(rows_re))
    print(f"peer_cut_rows {len(rows_bs4)}")
    print(f"peer_cut_bs4_ms {best_ms(lambda: cut_bs4(page), 5):.3f}")
    print(f"peer_cut_re_ms {best_ms(lambda: cut_re(page), 50):.4f}")


def gets(url, n):
    requests.get(url)
    start = time.perf_counter()
    size = sum(len(requests.get(url).content) for _ in range(n))
    print(f"peer_gets_ms {(time.perf_counter() - start) * 1000 / n:.3f}")
    print(f"peer_gets_bytes {size // n}")


def collect(listing, n, rows_path):
    fetch = parse = 0.0
    rows = []
    size = 0
    total_start = time.perf_counter()
    for i in range(1, n + 1):
        start = time.perf_counter()
        body = requests.get(page_address(listing, i)).content
        middle = time.perf_counter()
        rows.extend(cut_bs4(body))
        fetch += middle - start
        parse += time.perf_counter() - middle
        size += len(body)
    total = time.perf_counter() - total_start
    with open(rows_path, "w", encoding="utf-8", newline="\n") as out:
        for row in rows:
            out.write("\t".join(row) + "\n")
    print(f"peer_collect_pages {n}")
    print(f"peer_collect_rows {len(rows)}")
    print(f"peer_collect_bytes {size}")
    print(f"peer_collect_total_ms {total * 1000:.1f}")
    print(f"peer_collect_fetch_ms {fetch * 1000:.1f}")
    print(f"peer_collect_parse_ms {parse * 1000:.1f}")
    print(f"peer_collect_peak_rss_kb {peak_kb()}")


def main(argv):
    if len(argv) == 3 and argv[1] == "cut":
        cut(argv[2])
    elif len(argv) == 4 and argv[1] == "gets":
        gets(argv[2], int(argv[3]))
    elif len(argv) == 5 and argv[1] == "collect":
        collect(argv[2], int(argv[3]), argv[4])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
