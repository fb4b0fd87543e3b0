#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The draws, kept in an SQLite file (WAL mode) so that restarts lose nothing.
// Every operation is one statement or one transaction; safe from any thread.
namespace quorsa::drawservice {

struct StoredDraw {
    std::string prefix;    // yyyymmdd
    std::string seq;       // 001 .. 082
    std::string drawTime;  // yyyy-MM-dd HH:mm:ss, Beijing time
    std::int64_t drawUnix = 0;
    std::string numbers;  // "2,3,5"
    std::int32_t seed = 0;

    std::string issue() const { return prefix + seq; }
    bool operator==(const StoredDraw&) const = default;
};

class DrawStore {
    struct Key {};

public:
    explicit DrawStore(Key) {}
    // Opens or creates the file; nullptr and `error` on failure.
    static std::unique_ptr<DrawStore> open(const std::string& path, std::string& error);
    ~DrawStore();
    DrawStore(const DrawStore&) = delete;
    DrawStore& operator=(const DrawStore&) = delete;

    // The `count` newest draws, newest first (fewer when fewer are stored).
    bool recent(int count, std::vector<StoredDraw>& out, std::string& error);
    // Adds the draws whose issue is not stored yet; one transaction.
    bool addNew(const std::vector<StoredDraw>& draws, std::string& error);
    // Stores the draws, replacing those with the same issue; one transaction.
    bool replace(const std::vector<StoredDraw>& draws, std::string& error);
    std::int64_t count();

private:
    struct DbDeleter {
        void operator()(sqlite3* db) const;
    };
    struct StatementDeleter {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

    bool exec(const char* sql, std::string& error);
    bool prepare(const char* sql, Statement& out, std::string& error);
    bool write(const std::vector<StoredDraw>& draws, Statement& insert, std::string& error);
    std::string lastError() const;

    std::mutex m_mutex;
    std::unique_ptr<sqlite3, DbDeleter> m_db;
    Statement m_recent;
    Statement m_insertNew;
    Statement m_insertReplace;
    Statement m_count;
};

}  // namespace quorsa::drawservice
