#pragma once
// The sales of a busy firm, shared by the benchmarks that read them: 20,000 counterparties, 2,000
// materials, 300,000 sold lines (100,000 sales of three lines over 2025 and 2026) with a payment taken
// with two sales in three and 20,000 payments entered later.
class SQLConnection;

namespace SalesBenchData {

constexpr int kClients = 20000;
constexpr int kMaterials = 2000;
constexpr int kLines = 300000;
constexpr int kLinesPerSale = 3;
constexpr int kLaterPayments = 20000;

// Fills the tables in one transaction; returns the milliseconds it took.
double fill(SQLConnection& c);

} // namespace SalesBenchData
