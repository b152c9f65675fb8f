#pragma once

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

private:
    SQLConnection& connection_;
    bool finished_ = false;
};
