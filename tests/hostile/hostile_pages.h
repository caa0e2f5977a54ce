// Hostile listing pages for the fault table: UTF-8 bodies built to break the collector's
// assumptions (size, task count, zero bytes, bad encodings, markers cut by reads, markers out
// of order, addresses that are not web addresses). The byte-level faults (a connection closed
// mid-page, a server that never answers, a body that never ends) are modes of the loopback
// server; these are the bodies.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct HostileTask {
  std::string title, requirement, link;  // UTF-8, exactly as the page holds them
};

// A listing page around `blocks` (each one task's markup, ending with the block separator):
// head, `before` (any filler), the table, and the footer with the table's end marker.
std::string HostilePage(const std::vector<std::string>& blocks, const std::string& before = std::string());

// One task's markup as the marketplace writes it, minimal: link, title, requirement, separator.
std::string HostileBlock(const HostileTask& task);

// `count` tasks numbered from 1, link "<site>/task/<n>/".
std::vector<HostileTask> NumberedTasks(int count, const std::string& site);
std::vector<std::string> Blocks(const std::vector<HostileTask>& tasks);

// Filler of about `bytes` bytes in short lines inside an HTML comment.
std::string CommentFiller(size_t bytes);

// A page whose every marker begins 3 bytes before a multiple of `read` bytes, so that each
// marker is cut in two by reads of that size.
std::string PageWithMarkersAcrossReads(const std::vector<HostileTask>& tasks, size_t read);
