// The connection, statement and transaction wrappers: exact result codes with
// and without a connection, and what each one leaves behind in the file.
#include "StoreTestSupport.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace quorvik {
namespace {

using test::RawDb;
using test::TempUserFolder;

constexpr int kCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

TEST(SQLiteWrappers, EverythingAnswersMisuseWithoutAConnectionOrStatement) {
    SQLiteDB db;
    SQLiteStatement statement;
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(db.close());  // nothing open counts as closed
    EXPECT_EQ(db.exec("SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.prepare(statement, "SELECT 1"), SQLITE_MISUSE);
    EXPECT_FALSE(statement.isPrepared());
    EXPECT_EQ(db.lastInsertRowId(), -1);
    EXPECT_EQ(statement.bindInt(1, 5), SQLITE_MISUSE);
    EXPECT_EQ(statement.bindText(1, "x", 1), SQLITE_MISUSE);
    EXPECT_EQ(statement.step(), SQLITE_MISUSE);
    EXPECT_EQ(statement.columnInt(0), 0);
    EXPECT_EQ(statement.columnText(0), nullptr);
}

TEST(SQLiteWrappers, OpenSwitchesSynchronousOffAndRejectsNullText) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    EXPECT_EQ(db.exec(nullptr), SQLITE_MISUSE);
    SQLiteStatement statement;
    EXPECT_EQ(db.prepare(statement, nullptr), SQLITE_MISUSE);

    ASSERT_EQ(db.prepare(statement, "PRAGMA synchronous"), SQLITE_OK);
    ASSERT_EQ(statement.step(), SQLITE_ROW);
    EXPECT_EQ(statement.columnInt(0), 0);  // OFF
    EXPECT_EQ(statement.step(), SQLITE_DONE);
}

TEST(SQLiteWrappers, FailedOpenLeavesNoConnection) {
    TempUserFolder folder;
    SQLiteDB db;
    // No CREATE flag and no file.
    EXPECT_FALSE(db.open(folder.dbFile("absent"), SQLITE_OPEN_READWRITE));
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(fileExists(folder.dbFile("absent")));
}

TEST(SQLiteWrappers, FailedPrepareEmptiesTheStatementAndReprepareReplacesIt) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    SQLiteStatement statement;
    ASSERT_EQ(db.prepare(statement, "SELECT 7"), SQLITE_OK);
    EXPECT_TRUE(statement.isPrepared());
    EXPECT_EQ(db.prepare(statement, "SELECT * FROM no_such_table"), SQLITE_ERROR);
    EXPECT_FALSE(statement.isPrepared());
    EXPECT_EQ(statement.step(), SQLITE_MISUSE);

    ASSERT_EQ(db.prepare(statement, "SELECT 8"), SQLITE_OK);
    ASSERT_EQ(statement.step(), SQLITE_ROW);
    EXPECT_EQ(statement.columnInt(0), 8);
    // Only the given length is compiled.
    ASSERT_EQ(db.prepare(statement, "SELECT 9; garbage", 8), SQLITE_OK);
    ASSERT_EQ(statement.step(), SQLITE_ROW);
    EXPECT_EQ(statement.columnInt(0), 9);
}

TEST(SQLiteWrappers, BindTextUsesTheGivenLengthAndNullReadsAsZeroOrNull) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    SQLiteStatement statement;
    const char bytes[] = "abcdef";
    ASSERT_EQ(db.prepare(statement, "SELECT ?, ?, NULL"), SQLITE_OK);
    EXPECT_EQ(statement.bindText(1, bytes, 3), SQLITE_OK);
    EXPECT_EQ(statement.bindInt(3, 1), SQLITE_RANGE);
    ASSERT_EQ(statement.step(), SQLITE_ROW);  // parameter 2 left unbound: NULL
    EXPECT_STREQ(reinterpret_cast<const char*>(statement.columnText(0)), "abc");
    EXPECT_EQ(statement.columnInt(1), 0);
    EXPECT_EQ(statement.columnText(1), nullptr);
    EXPECT_EQ(statement.columnInt(2), 0);
}

TEST(SQLiteWrappers, ResetRunsTheStatementAgainWithoutItsOldBindings) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    ASSERT_EQ(db.exec("CREATE TABLE t (v INTEGER); INSERT INTO t VALUES (1), (2), (3);"), SQLITE_OK);
    SQLiteStatement statement;
    EXPECT_EQ(statement.reset(), SQLITE_MISUSE);
    ASSERT_EQ(db.prepare(statement, "SELECT v, ? FROM t WHERE v >= ? ORDER BY v"), SQLITE_OK);

    struct Case {
        const char* name;
        bool bind;
        int from;
        int firstRow;
        bool nullTag;
    } cases[] = {
        {"from 2", true, 2, 2, false},
        {"from 1 after a run left after its first row", true, 1, 1, false},
        {"nothing bound after reset: NULL matches no row", false, 0, -1, true},
        {"from 3", true, 3, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bind) {
            ASSERT_EQ(statement.bindInt(1, 7), SQLITE_OK);
            ASSERT_EQ(statement.bindInt(2, c.from), SQLITE_OK);
        }
        if (c.firstRow < 0) {
            EXPECT_EQ(statement.step(), SQLITE_DONE);
        } else {
            ASSERT_EQ(statement.step(), SQLITE_ROW);
            EXPECT_EQ(statement.columnInt(0), c.firstRow);
            EXPECT_EQ(statement.columnText(1) == nullptr, c.nullTag);
        }
        EXPECT_EQ(statement.reset(), SQLITE_OK);
    }
}

TEST(SQLiteWrappers, ConnectionRefusesToCloseWhileAStatementLives) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    SQLiteStatement statement;
    ASSERT_EQ(db.prepare(statement, "SELECT 1"), SQLITE_OK);
    EXPECT_FALSE(db.close());
    EXPECT_TRUE(db.isOpen());  // kept, still usable
    ASSERT_EQ(statement.step(), SQLITE_ROW);
    statement.finalize();
    EXPECT_FALSE(statement.isPrepared());
    EXPECT_EQ(statement.step(), SQLITE_MISUSE);
    EXPECT_TRUE(db.close());
    EXPECT_FALSE(db.isOpen());
}

TEST(SQLiteWrappers, LastInsertRowIdFollowsInserts) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    ASSERT_EQ(db.exec("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, v INTEGER)"), SQLITE_OK);
    EXPECT_EQ(db.lastInsertRowId(), 0);
    ASSERT_EQ(db.exec("INSERT INTO t(v) VALUES (1); INSERT INTO t(v) VALUES (2);"), SQLITE_OK);
    EXPECT_EQ(db.lastInsertRowId(), 2);
}

TEST(SQLiteWrappers, ExecPassesRowsToTheCallback) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("wrap"), kCreate));
    std::vector<std::string> seen;
    auto callback = [](void* context, int count, char** values, char**) {
        auto* out = static_cast<std::vector<std::string>*>(context);
        for (int i = 0; i < count; ++i) out->push_back(values[i] ? values[i] : "NULL");
        return 0;
    };
    EXPECT_EQ(db.exec("SELECT 1, 'two' UNION ALL SELECT 3, NULL", callback, &seen), SQLITE_OK);
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "two", "3", "NULL"}));
}

TEST(SQLiteWrappers, ReopenClosesThePreviousConnection) {
    TempUserFolder folder;
    SQLiteDB db;
    ASSERT_TRUE(db.open(folder.dbFile("first"), kCreate));
    ASSERT_EQ(db.exec("CREATE TABLE only_in_first (a)"), SQLITE_OK);
    ASSERT_TRUE(db.open(folder.dbFile("second"), kCreate));
    SQLiteStatement statement;
    EXPECT_NE(db.prepare(statement, "SELECT * FROM only_in_first"), SQLITE_OK);
    EXPECT_TRUE(db.close());
    EXPECT_FALSE(db.isOpen());
}

// --- SQLiteAutoTransaction -------------------------------------------------------

TEST(SQLiteAutoTransaction, NullDatabaseIsInertAndClosedDatabaseOnlyTracksState) {
    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.isActive());
    EXPECT_FALSE(none.begin());
    EXPECT_FALSE(none.isActive());
    EXPECT_FALSE(none.commit());

    SQLiteDB closed;
    SQLiteAutoTransaction transaction(&closed);
    EXPECT_TRUE(transaction.isActive());
    EXPECT_FALSE(transaction.begin());  // already active
    EXPECT_FALSE(transaction.commit());
    EXPECT_FALSE(transaction.isActive());
    EXPECT_FALSE(transaction.begin());  // no connection: active, but false
    EXPECT_TRUE(transaction.isActive());
}

TEST(SQLiteAutoTransaction, LeavingTheScopeCommitsEvenWithoutCommit) {
    TempUserFolder folder;
    const std::string path = folder.dbFile("tx");
    {
        SQLiteDB db;
        ASSERT_TRUE(db.open(path, kCreate));
        ASSERT_EQ(db.exec("CREATE TABLE t (v INTEGER)"), SQLITE_OK);
        {
            SQLiteAutoTransaction transaction(&db);
            EXPECT_TRUE(transaction.isActive());
            EXPECT_TRUE(db.inTransaction());
            ASSERT_EQ(db.exec("INSERT INTO t VALUES (1)"), SQLITE_OK);
            EXPECT_EQ(db.exec("INSERT INTO missing VALUES (1)"), SQLITE_ERROR);  // no rollback for this
            ASSERT_EQ(db.exec("INSERT INTO t VALUES (2)"), SQLITE_OK);
        }
        EXPECT_FALSE(db.inTransaction());
        {
            SQLiteAutoTransaction transaction(&db);
            ASSERT_EQ(db.exec("INSERT INTO t VALUES (3)"), SQLITE_OK);
            EXPECT_TRUE(transaction.commit());
            EXPECT_FALSE(transaction.isActive());
            EXPECT_FALSE(transaction.commit());  // "END" with no transaction open
            EXPECT_TRUE(transaction.begin());
            ASSERT_EQ(db.exec("INSERT INTO t VALUES (4)"), SQLITE_OK);
        }
    }
    RawDb raw(path);
    EXPECT_EQ(raw.text("SELECT group_concat(v) FROM (SELECT v FROM t ORDER BY v)"), "1,2,3,4");
}

TEST(SQLiteAutoTransaction, RefusedEndDoesNotLeaveTheConnectionInsideTheTransaction) {
    TempUserFolder folder;
    const std::string path = folder.dbFile("tx");
    SQLiteDB db;
    ASSERT_TRUE(db.open(path, kCreate));
    ASSERT_EQ(db.exec("CREATE TABLE t (v INTEGER)"), SQLITE_OK);

    // Another connection keeps reading, so "END" cannot take the write lock.
    RawDb reader(path);
    ASSERT_EQ(reader.exec("BEGIN; SELECT count(*) FROM t;"), SQLITE_OK);
    {
        SQLiteAutoTransaction transaction(&db);
        ASSERT_EQ(db.exec("INSERT INTO t VALUES (1)"), SQLITE_OK);
        EXPECT_FALSE(transaction.commit());
    }
    EXPECT_FALSE(db.inTransaction());
    ASSERT_EQ(reader.exec("END"), SQLITE_OK);

    // A later single write commits on its own and survives closing.
    ASSERT_EQ(db.exec("INSERT INTO t VALUES (2)"), SQLITE_OK);
    ASSERT_TRUE(db.close());
    EXPECT_EQ(RawDb(path).text("SELECT group_concat(v) FROM t"), "2");
}

}  // namespace
}  // namespace quorvik
