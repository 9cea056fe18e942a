#pragma once

// Tables, indexes and seed rows of a new database, and the steps that bring an older file
// up to the current schema version. Private to this library.

namespace lm {

class LMDatabase;

namespace schema {

// Creates every table and index and writes the seed rows (inside the caller's transaction).
void CreateAndSeed(const LMDatabase& db);

// Brings a database of schema `fromVersion` (>= 1) up to LMDatabase::kSchemaVersion.
void Migrate(const LMDatabase& db, int fromVersion);

} // namespace schema
} // namespace lm
