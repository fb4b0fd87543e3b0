#include "drawservice/draw_store.h"

#include <sqlite3.h>

namespace quorsa::drawservice {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS draws (
    issue     TEXT PRIMARY KEY,
    prefix    TEXT NOT NULL,
    seq       TEXT NOT NULL,
    draw_time TEXT NOT NULL,
    draw_unix INTEGER NOT NULL,
    numbers   TEXT NOT NULL,
    seed      INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS draws_newest ON draws (draw_unix DESC, issue DESC);
)sql";

constexpr const char* kInsertColumns =
    " INTO draws (issue, prefix, seq, draw_time, draw_unix, numbers, seed)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    if (text == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// Resets a statement on every way out of a scope.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

}  // namespace

void DrawStore::DbDeleter::operator()(sqlite3* db) const {
    sqlite3_close(db);
}
void DrawStore::StatementDeleter::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

std::unique_ptr<DrawStore> DrawStore::open(const std::string& path, std::string& error) {
    auto store = std::make_unique<DrawStore>(Key{});
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    store->m_db.reset(db);
    if (rc != SQLITE_OK) {
        error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        return nullptr;
    }
    // Another process (the import command) may hold the write lock briefly.
    sqlite3_busy_timeout(db, 5000);
    if (!store->exec("PRAGMA journal_mode=WAL", error) ||
        !store->exec("PRAGMA synchronous=NORMAL", error) || !store->exec(kSchema, error) ||
        !store->prepare("SELECT prefix, seq, draw_time, draw_unix, numbers, seed FROM draws"
                        " ORDER BY draw_unix DESC, issue DESC LIMIT ?1",
                        store->m_recent, error) ||
        !store->prepare((std::string("INSERT OR IGNORE") + kInsertColumns).c_str(),
                        store->m_insertNew, error) ||
        !store->prepare((std::string("INSERT OR REPLACE") + kInsertColumns).c_str(),
                        store->m_insertReplace, error) ||
        !store->prepare("SELECT COUNT(*) FROM draws", store->m_count, error)) {
        error = path + ": " + error;
        return nullptr;
    }
    return store;
}

DrawStore::~DrawStore() {
    // Statements go before the connection.
    m_recent.reset();
    m_insertNew.reset();
    m_insertReplace.reset();
    m_count.reset();
}

std::string DrawStore::lastError() const {
    return sqlite3_errmsg(m_db.get());
}

bool DrawStore::exec(const char* sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        error = message ? message : lastError();
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool DrawStore::prepare(const char* sql, Statement& out, std::string& error) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql, -1, &statement, nullptr) != SQLITE_OK) {
        error = lastError();
        return false;
    }
    out.reset(statement);
    return true;
}

bool DrawStore::recent(int count, std::vector<StoredDraw>& out, std::string& error) {
    std::lock_guard lock(m_mutex);
    sqlite3_stmt* statement = m_recent.get();
    ResetOnExit reset{statement};
    sqlite3_bind_int(statement, 1, count);
    std::vector<StoredDraw> rows;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        StoredDraw draw;
        draw.prefix = columnText(statement, 0);
        draw.seq = columnText(statement, 1);
        draw.drawTime = columnText(statement, 2);
        draw.drawUnix = sqlite3_column_int64(statement, 3);
        draw.numbers = columnText(statement, 4);
        draw.seed = sqlite3_column_int(statement, 5);
        rows.push_back(std::move(draw));
    }
    if (rc != SQLITE_DONE) {
        error = lastError();
        return false;
    }
    out = std::move(rows);
    return true;
}

bool DrawStore::write(const std::vector<StoredDraw>& draws, Statement& insert, std::string& error) {
    std::lock_guard lock(m_mutex);
    if (!exec("BEGIN IMMEDIATE", error)) {
        return false;
    }
    for (const StoredDraw& draw : draws) {
        sqlite3_stmt* statement = insert.get();
        ResetOnExit reset{statement};
        const std::string issue = draw.issue();
        sqlite3_bind_text(statement, 1, issue.data(), static_cast<int>(issue.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, draw.prefix.data(), static_cast<int>(draw.prefix.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 3, draw.seq.data(), static_cast<int>(draw.seq.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 4, draw.drawTime.data(),
                          static_cast<int>(draw.drawTime.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 5, draw.drawUnix);
        sqlite3_bind_text(statement, 6, draw.numbers.data(), static_cast<int>(draw.numbers.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 7, draw.seed);
        if (sqlite3_step(statement) != SQLITE_DONE) {
            error = lastError();
            std::string ignored;
            exec("ROLLBACK", ignored);
            return false;
        }
    }
    if (!exec("COMMIT", error)) {
        std::string ignored;
        exec("ROLLBACK", ignored);
        return false;
    }
    return true;
}

bool DrawStore::addNew(const std::vector<StoredDraw>& draws, std::string& error) {
    return write(draws, m_insertNew, error);
}

bool DrawStore::replace(const std::vector<StoredDraw>& draws, std::string& error) {
    return write(draws, m_insertReplace, error);
}

std::int64_t DrawStore::count() {
    std::lock_guard lock(m_mutex);
    ResetOnExit reset{m_count.get()};
    if (sqlite3_step(m_count.get()) != SQLITE_ROW) {
        return -1;
    }
    return sqlite3_column_int64(m_count.get(), 0);
}

}  // namespace quorsa::drawservice
