// Station log: the day files, their stamp lines, reading them back and the buffered writer.
#include "app/station_log.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace plovane {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr size_t kMaxSourceLength = 8;
// "#YYYY-MM-DDTHH:MM:SSZ RX " is 25 characters; the source follows.
constexpr size_t kStampPrefixLength = 25;

int64_t DayOf(int64_t utcSeconds) {
    return utcSeconds >= 0 ? utcSeconds / kSecondsPerDay
                           : -((-utcSeconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

struct Civil {
    int year;
    unsigned month, day;
};

Civil CivilOf(int64_t day) {
    const std::chrono::year_month_day ymd{
        std::chrono::sys_days{std::chrono::days{static_cast<int32_t>(day)}}};
    return {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
            static_cast<unsigned>(ymd.day())};
}

// The day number of a valid civil date, or false.
bool DayNumber(int year, unsigned month, unsigned day, int64_t& out) {
    const std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                          std::chrono::day{day}};
    if (!ymd.ok())
        return false;
    out = std::chrono::sys_days{ymd}.time_since_epoch().count();
    return true;
}

void PutDigits(char* out, unsigned value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// Reads `width` decimal digits; false when one is not a digit.
bool GetDigits(std::string_view text, size_t at, int width, unsigned& value) {
    value = 0;
    for (int i = 0; i < width; ++i) {
        const char c = text[at + static_cast<size_t>(i)];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

// "YYYY-MM-DD" into out[0..9].
void PutDate(char* out, int64_t day) {
    const Civil c = CivilOf(day);
    PutDigits(out, static_cast<unsigned>(std::clamp(c.year, 0, 9999)), 4);
    out[4] = '-';
    PutDigits(out + 5, c.month, 2);
    out[7] = '-';
    PutDigits(out + 8, c.day, 2);
}

// "YYYY-MM-DD" at `at`, as a day number.
bool GetDate(std::string_view text, size_t at, int64_t& day) {
    unsigned y = 0, m = 0, d = 0;
    if (!GetDigits(text, at, 4, y) || text[at + 4] != '-' || !GetDigits(text, at + 5, 2, m) ||
        text[at + 7] != '-' || !GetDigits(text, at + 8, 2, d)) {
        return false;
    }
    return DayNumber(static_cast<int>(y), m, d, day);
}

std::string_view WithoutLineEnds(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// Cuts a file that does not end in LF back to its last LF (its last record was cut short).
void TrimPartLine(int fd) {
    struct stat info {};
    char last = '\n';
    if (::fstat(fd, &info) != 0 || info.st_size == 0 ||
        ::pread(fd, &last, 1, info.st_size - 1) != 1 || last == '\n') {
        return;
    }
    char block[4096];
    off_t end = info.st_size;
    const off_t limit = std::max<off_t>(0, info.st_size - 65536);  // no line is longer
    while (end > limit) {
        const off_t start = std::max<off_t>(0, end - static_cast<off_t>(sizeof block));
        const ssize_t got = ::pread(fd, block, static_cast<size_t>(end - start), start);
        if (got <= 0)
            return;
        for (ssize_t i = got - 1; i >= 0; --i) {
            if (block[i] == '\n') {
                (void)::ftruncate(fd, start + i + 1);
                return;
            }
        }
        end = start;
    }
    if (limit == 0)
        (void)::ftruncate(fd, 0);
}

}  // namespace

// --- Settings ---

void CLogSettings::Load(const Profile& profile) {
    bStationLog = profile.GetInt("Station", "bStationLog", 1) != 0;
    LogReplayHours = std::clamp(profile.GetInt("Station", "LogReplayHours", 24), 0, 24 * 366);
    LogRetentionDays = std::clamp(profile.GetInt("Station", "LogRetentionDays", 30), 0, 36600);
}

void CLogSettings::Save(Profile& profile) const {
    profile.WriteInt("Station", "bStationLog", bStationLog ? 1 : 0);
    profile.WriteInt("Station", "LogReplayHours", LogReplayHours);
    profile.WriteInt("Station", "LogRetentionDays", LogRetentionDays);
}

// --- Names and stamps ---

std::filesystem::path DefaultLogFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::filesystem::path base;
    if (data != nullptr && data[0] == '/') {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::filesystem::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return base / "plovane" / "log";
}

std::string LogFileName(int64_t utcSeconds) {
    std::string name(14, ' ');
    PutDate(name.data(), DayOf(utcSeconds));
    name.replace(10, 4, ".log");
    return name;
}

std::string StampLine(int64_t utcSeconds, LogDirection direction, std::string_view source) {
    std::string out(kStampPrefixLength, ' ');
    out[0] = '#';
    const int64_t day = DayOf(utcSeconds);
    const auto second = static_cast<unsigned>(utcSeconds - day * kSecondsPerDay);
    PutDate(out.data() + 1, day);
    out[11] = 'T';
    PutDigits(out.data() + 12, second / 3600, 2);
    out[14] = ':';
    PutDigits(out.data() + 15, second / 60 % 60, 2);
    out[17] = ':';
    PutDigits(out.data() + 18, second % 60, 2);
    out[20] = 'Z';
    out[22] = direction == LogDirection::kSent ? 'T' : 'R';
    out[23] = 'X';
    out.append(source.substr(0, kMaxSourceLength));
    return out;
}

bool ParseStampLine(std::string_view text, int64_t& utcSeconds, LogDirection& direction,
                    std::string_view& source) {
    if (text.size() <= kStampPrefixLength || text.size() > kStampPrefixLength + kMaxSourceLength ||
        text[0] != '#' || text[11] != 'T' || text[14] != ':' || text[17] != ':' ||
        text[20] != 'Z' || text[21] != ' ' || text[23] != 'X' || text[24] != ' ') {
        return false;
    }
    int64_t day = 0;
    unsigned h = 0, m = 0, s = 0;
    if (!GetDate(text, 1, day) || !GetDigits(text, 12, 2, h) || !GetDigits(text, 15, 2, m) ||
        !GetDigits(text, 18, 2, s) || h > 23 || m > 59 || s > 59) {
        return false;
    }
    if (text[22] == 'R') {
        direction = LogDirection::kReceived;
    } else if (text[22] == 'T') {
        direction = LogDirection::kSent;
    } else {
        return false;
    }
    source = text.substr(kStampPrefixLength);
    for (const char c : source) {
        if (c < 'A' || c > 'Z')
            return false;
    }
    utcSeconds = day * kSecondsPerDay + h * 3600 + m * 60 + s;
    return true;
}

// --- Reading ---

// The day files are read into memory of their own rather than the heap's: asked of the
// system with huge pages, a file of 80 MB costs a few dozen page faults instead of twenty
// thousand, which at start is the larger part of reading it.
LogReplaySet::Bytes::Bytes(size_t size) {
    constexpr size_t kHugePage = size_t{2} << 20;
    // Room to start at a huge-page boundary.
    const size_t mapped = size + 1 + kHugePage;
    void* base =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return;
    const auto start = reinterpret_cast<uintptr_t>(base);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    // Hand back the parts before and after; only advice follows, so failures are harmless.
    if (aligned > start)
        ::munmap(base, aligned - start);
    const size_t kept = size + 1;
    const size_t keptPages = (kept + 4095) & ~size_t{4095};
    const uintptr_t end = start + mapped;
    if (aligned + keptPages < end)
        ::munmap(reinterpret_cast<void*>(aligned + keptPages), end - (aligned + keptPages));
    data_ = reinterpret_cast<char*>(aligned);
    size_ = keptPages;
    (void)::madvise(data_, size_, MADV_HUGEPAGE);
}

LogReplaySet::Bytes::~Bytes() {
    if (data_ != nullptr)
        ::munmap(data_, size_);
}

bool LogReplaySet::AddFile(const std::filesystem::path& file, int64_t sinceUtc) {
    return ReadFile(file, sinceUtc, budget_);
}

bool LogReplaySet::ReadFile(const std::filesystem::path& file, int64_t sinceUtc, int64_t maxBytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // Only the newest bytes within the limit are read, and the byte before them, which tells
    // whether they start a line.
    const int64_t skip = std::max<int64_t>(0, info.st_size - std::min(maxBytes, budget_));
    budget_ -= info.st_size - skip;
    leftOut_ += skip;
    const int64_t from = std::max<int64_t>(0, skip - 1);
    const auto size = static_cast<size_t>(info.st_size - from);
    Bytes buffer(size);
    if (buffer.data() == nullptr) {
        ::close(fd);
        return false;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer.data() + done, size - done,
                                    static_cast<off_t>(from + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;  // the file shrank meanwhile: keep what was read
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    std::string_view bytes(buffer.data(), done);
    if (skip > 0) {
        // Start at the first whole record: a part line, and a packet line whose stamp was
        // left out, belong to the older lines.
        size_t lf = bytes.find('\n');
        if (lf != std::string_view::npos && lf + 1 < bytes.size() && bytes[lf + 1] != '#')
            lf = bytes.find('\n', lf + 1);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    }
    buffers_.push_back(std::move(buffer));
    Parse(bytes, sinceUtc);
    return true;
}

void LogReplaySet::AddBytes(std::string_view bytes, int64_t sinceUtc) {
    Bytes buffer(bytes.size());
    if (buffer.data() == nullptr)
        return;
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    const std::string_view view(buffer.data(), bytes.size());
    buffers_.push_back(std::move(buffer));
    Parse(view, sinceUtc);
}

void LogReplaySet::Parse(std::string_view bytes, int64_t sinceUtc) {
    // Room for the records, judged from the line ends of the first megabyte, so that the list
    // is not copied as it grows (a record is two lines).
    const std::string_view sample = bytes.substr(0, size_t{1} << 20);
    size_t sampleLines = 0;
    for (const char *p = sample.data(), *end = p + sample.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) !=
         nullptr;
         ++p) {
        ++sampleLines;
    }
    if (!sample.empty()) {
        const double lines =
            static_cast<double>(sampleLines) *
            (static_cast<double>(bytes.size()) / static_cast<double>(sample.size()));
        records_.reserve(records_.size() + static_cast<size_t>(lines * 0.53) + 16);
    }
    bool haveStamp = false;
    LogRecord record;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            // A last line without its line end was cut by a crash or a full disk.
            ++damaged_;
            haveStamp = false;
            break;
        }
        const std::string_view line = WithoutLineEnds(bytes.substr(0, lf));
        bytes.remove_prefix(lf + 1);
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (haveStamp)
                ++damaged_;  // the stamp before lost its line
            haveStamp = ParseStampLine(line, record.utcSeconds, record.direction, record.source);
            if (!haveStamp)
                ++damaged_;
            continue;
        }
        if (!haveStamp) {
            ++damaged_;  // a line without its stamp
            continue;
        }
        haveStamp = false;
        if (record.utcSeconds >= sinceUtc) {
            record.line = line;
            records_.push_back(record);
        }
    }
    if (haveStamp)
        ++damaged_;
}

void LogReplaySet::AddFolder(const std::filesystem::path& folder, int64_t sinceUtc) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    const int64_t firstDay = DayOf(sinceUtc);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        int64_t day = 0;
        if (name.size() == 14 && name.compare(10, 4, ".log") == 0 && GetDate(name, 0, day) &&
            day >= firstDay) {
            files.push_back(it->path());
        }
    }
    // Oldest day first, so that records with equal stamps keep the order they were written in;
    // but the read limit is shared out newest first.
    std::sort(files.begin(), files.end());
    std::vector<int64_t> shares(files.size(), 0);
    int64_t left = budget_;
    for (size_t i = files.size(); i-- > 0;) {
        const auto size = static_cast<int64_t>(std::filesystem::file_size(files[i], error));
        shares[i] = error ? 0 : std::min(size, left);
        left -= shares[i];
    }
    for (size_t i = 0; i < files.size(); ++i)
        ReadFile(files[i], sinceUtc, shares[i]);
}

void LogReplaySet::Sort() {
    const auto earlier = [](const LogRecord& a, const LogRecord& b) {
        return a.utcSeconds < b.utcSeconds;
    };
    // A log written by one clock is already in order; only a clock step needs the sort.
    if (!std::is_sorted(records_.begin(), records_.end(), earlier))
        std::stable_sort(records_.begin(), records_.end(), earlier);
}

size_t PurgeOldLogs(const std::filesystem::path& folder, int64_t nowUtc, int retentionDays) {
    if (retentionDays <= 0 || folder.empty())
        return 0;
    const int64_t firstKept = DayOf(nowUtc) - retentionDays;
    std::error_code error;
    std::vector<std::filesystem::path> old;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        int64_t day = 0;
        if (name.size() == 14 && name.compare(10, 4, ".log") == 0 && GetDate(name, 0, day) &&
            day < firstKept) {
            old.push_back(it->path());
        }
    }
    size_t removed = 0;
    for (const auto& file : old)
        removed += std::filesystem::remove(file, error) ? 1 : 0;
    return removed;
}

// --- Writer ---

CStationLog::CStationLog(std::filesystem::path folder, UtcSource now, NoticeSink notice,
                         int retentionDays)
    : folder_(std::move(folder)),
      now_(std::move(now)),
      notice_(std::move(notice)),
      retentionDays_(retentionDays) {}

CStationLog::~CStationLog() {
    Close();
}

void CStationLog::Start() {
    if (thread_.joinable())
        return;
    lastPurgeDay_ = DayOf(now_());
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void CStationLog::Close() {
    if (thread_.joinable()) {
        thread_.request_stop();
        wake_.notify_all();
        thread_.join();
    }
    Flush();
}

void CStationLog::Run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, stop, std::chrono::milliseconds(kFlushPeriodMs),
                           [] { return false; });
        }
        Flush();
        // Midnight (UTC): the oldest day file goes.
        const int64_t today = DayOf(now_());
        if (today != lastPurgeDay_) {
            lastPurgeDay_ = today;
            PurgeOldLogs(folder_, today * kSecondsPerDay, retentionDays_.load());
        }
    }
}

void CStationLog::Append(LogDirection direction, std::string_view source, std::string_view line) {
    line = WithoutLineEnds(line);
    if (line.empty())
        return;
    const int64_t utc = now_();
    const int64_t day = DayOf(utc);
    std::string record = StampLine(utc, direction, source);
    record += '\n';
    // A line that starts like a stamp would read back as one; the decoder trims the blank.
    if (line[0] == '#')
        record += ' ';
    const size_t lineStart = record.size();
    record.append(line);
    // A line end inside would split the record.
    std::replace_if(
        record.begin() + static_cast<std::ptrdiff_t>(lineStart), record.end(),
        [](char c) { return c == '\r' || c == '\n'; }, ' ');
    record += '\n';

    std::lock_guard lock(mutex_);
    if (pendingBytes_ + record.size() > kMaxBufferBytes) {
        ++dropped_;
        return;
    }
    if (pending_.empty() || pending_.back().day != day)
        pending_.push_back({day, {}, 0});
    pending_.back().bytes += record;
    ++pending_.back().records;
    pendingBytes_ += record.size();
}

bool CStationLog::Flush() {
    std::lock_guard files(fileMutex_);
    std::vector<Pending> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(pending_);
        pendingBytes_ = 0;
    }
    return batch.empty() || WriteOut(batch);
}

bool CStationLog::WriteOut(std::vector<Pending>& batch) {
    bool ok = true;
    for (Pending& part : batch) {
        const std::filesystem::path file = folder_ / LogFileName(part.day * kSecondsPerDay);
        int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0 && errno == ENOENT) {
            std::error_code error;
            std::filesystem::create_directories(folder_, error);
            fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        }
        if (fd < 0) {
            Fail("cannot open " + file.string(), errno);
            std::lock_guard lock(mutex_);
            dropped_ += part.records;
            ok = false;
            continue;
        }
        // A record cut by an earlier crash or full disk is removed, so that its part line
        // cannot swallow the first stamp written now.
        TrimPartLine(fd);
        std::string_view rest = part.bytes;
        while (!rest.empty()) {
            const ssize_t done = ::write(fd, rest.data(), rest.size());
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0) {
                Fail("cannot write " + file.string(), done < 0 ? errno : ENOSPC);
                // Count the records not written (a part record reads back as damaged).
                const size_t written = part.bytes.size() - rest.size();
                const size_t lost = static_cast<size_t>(
                    std::count(part.bytes.begin() + static_cast<std::ptrdiff_t>(written),
                               part.bytes.end(), '\n') /
                    2);
                std::lock_guard lock(mutex_);
                dropped_ += std::max<size_t>(lost, 1);
                ok = false;
                break;
            }
            rest.remove_prefix(static_cast<size_t>(done));
        }
        // Onto the disk, not only into the system's cache, so that a power cut loses no more
        // than a crash: one sync per file and flush, on the writer thread (at most twice a
        // second, and only when there was something to write).
        if (rest.empty())
            (void)::fdatasync(fd);
        ::close(fd);
    }
    return ok;
}

void CStationLog::Fail(const std::string& what, int error) {
    {
        std::lock_guard lock(mutex_);
        if (noticeGiven_)
            return;
        noticeGiven_ = true;
    }
    if (notice_)
        notice_("Station log: " + what + ": " + std::strerror(error) +
                "; the station goes on without it.");
}

void CStationLog::SetTncHeader(std::string header) {
    std::lock_guard lock(mutex_);
    tncHeader_ = std::move(header);
}

std::string CStationLog::TncHeader() const {
    std::lock_guard lock(mutex_);
    return tncHeader_;
}

uint64_t CStationLog::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

}  // namespace plovane
