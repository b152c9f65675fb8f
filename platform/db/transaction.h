#pragma once

#include <functional>

class SQLConnection;

// An explicit transaction: every call on the connection inside the scope shares one server
// transaction, stored by commit(); leaving the scope any other way rolls it back. Nested scopes
// share the outer transaction; a nested scope left without commit dooms the whole of it.
class TransactionScope
{
public:
    explicit TransactionScope(SQLConnection& connection);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    void commit();

    // Whether a scope is open on the connection (calls share its transaction).
    static bool isOpen(SQLConnection& connection);
    // Calls settled(true) when the outermost open scope has stored its work, settled(false) when it
    // is rolled back. Work written inside a scope is only known to be stored then. Needs an open scope.
    static void whenSettled(SQLConnection& connection, std::function<void(bool committed)> settled);

private:
    SQLConnection& connection_;
    bool finished_ = false;
};
