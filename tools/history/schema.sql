-- The lookup history shipped as resources/data/history.db. The program never creates
-- or alters this table; it only runs fixed statements against it, none of which sets
-- count, created_at or updated_at: the table keeps them itself.
CREATE TABLE history(
    id INTEGER PRIMARY KEY,
    count INTEGER NOT NULL DEFAULT 1,
    hostname TEXT,
    comments TEXT,
    ipaddr TEXT NOT NULL,
    code TEXT,
    name TEXT,
    registry TEXT,
    region TEXT,
    networks TEXT,
    date TEXT,
    -- UTC, "YYYY-MM-DD HH:MM:SS", which strftime('%s', ...) reads.
    created_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP,
    updated_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP
);

-- One row per address; the two list orders read these indexes backwards.
CREATE UNIQUE INDEX history_ipaddr ON history(ipaddr);
CREATE INDEX history_updated_at ON history(updated_at);
CREATE INDEX history_count ON history(count);

-- The gathering pass inserts every destination again on each pass: an address already
-- recorded is folded into its row (one more hit, the latest registry answer, updated
-- now) and the insert itself is dropped, so created_at, hostname and comments stay.
CREATE TRIGGER history_fold BEFORE INSERT ON history
WHEN EXISTS (SELECT 1 FROM history WHERE ipaddr = NEW.ipaddr)
BEGIN
    UPDATE history
       SET count = count + 1,
           code = NEW.code,
           name = NEW.name,
           registry = NEW.registry,
           region = NEW.region,
           networks = NEW.networks,
           date = NEW.date,
           updated_at = CURRENT_TIMESTAMP
     WHERE ipaddr = NEW.ipaddr;
    SELECT RAISE(IGNORE);
END;
