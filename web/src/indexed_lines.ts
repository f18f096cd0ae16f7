// The record's lines in IndexedDB: every write a transaction that completes only once it is
// on disk, one tab at a time (Web Locks), and the record older pages kept in localStorage
// moved over with nothing lost.

import { storedLine, type LineStore, type StoredLine } from "./record_store";

const DATABASE = "tanabashigo";
const LINES = "lines";
const BY_NUMBER = "by-number";
const LOCK = "tanabashigo.record";
/** Where older pages kept the whole record as one text. */
export const OLD_RECORD_KEY = "tanabashigo.record";

/** Runs `task` while no other tab of this page writes the record. */
function exclusively<T>(task: () => Promise<T>): Promise<T> {
    const locks = (navigator as Navigator & { locks?: LockManager }).locks;
    return locks ? locks.request(LOCK, task) : task();
}

function settled<T>(request: IDBRequest<T>): Promise<T> {
    return new Promise((resolve, reject) => {
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
}

function completed(transaction: IDBTransaction): Promise<void> {
    return new Promise((resolve, reject) => {
        transaction.oncomplete = () => resolve();
        transaction.onerror = () => reject(transaction.error);
        transaction.onabort = () => reject(transaction.error ?? new DOMException("aborted", "AbortError"));
    });
}

export class IndexedLines implements LineStore {
    private constructor(private readonly db: IDBDatabase) {}

    /** The page's database, or why it cannot be opened. */
    static async open(): Promise<IndexedLines> {
        const request = indexedDB.open(DATABASE, 1);
        request.onupgradeneeded = () => {
            const lines = request.result.createObjectStore(LINES, { autoIncrement: true });
            lines.createIndex(BY_NUMBER, ["experiment", "trial"]);
        };
        return new IndexedLines(await settled(request));
    }

    append(plan: (kept: string[]) => string[]): Promise<void> {
        return exclusively(async () => {
            const transaction = this.db.transaction(LINES, "readwrite", { durability: "strict" });
            const done = completed(transaction);
            const lines = transaction.objectStore(LINES);
            const kept = lines.index(BY_NUMBER).getAll() as IDBRequest<StoredLine[]>;
            let failure: unknown = null;
            kept.onsuccess = () => {
                try {
                    for (const text of plan(kept.result.map((line) => line.text))) {
                        lines.add(storedLine(text));
                    }
                } catch (error) {
                    failure = error;
                    transaction.abort();
                }
            };
            await done.catch((error) => Promise.reject(failure ?? error));
        });
    }

    async lines(): Promise<StoredLine[]> {
        const transaction = this.db.transaction(LINES, "readonly");
        return settled(transaction.objectStore(LINES).index(BY_NUMBER).getAll() as IDBRequest<StoredLine[]>);
    }

    /**
     * Moves the record an older page kept in `storage` into the database, then removes it
     * there. An experiment already moved (by another tab) is not moved again; one whose number
     * is taken by another experiment is given the next free number.
     */
    moveFrom(storage: Storage): Promise<void> {
        return exclusively(async () => {
            const text = storage.getItem(OLD_RECORD_KEY);
            if (text === null) {
                return;
            }
            const kept = await this.lines();
            const keptText = new Map(kept.map((line) => [`${line.experiment},${line.trial}`, line.text]));
            let highest = kept.reduce((most, line) => Math.max(most, line.experiment), 0);
            const experiments = new Map<number, StoredLine[]>();
            for (const line of text.split("\n")) {
                const stored = storedLine(line.replace(/\r$/, ""));
                if (stored) {
                    const group = experiments.get(stored.experiment) ?? [];
                    group.push(stored);
                    experiments.set(stored.experiment, group);
                }
            }
            highest = Math.max(highest, ...experiments.keys());
            const moving: StoredLine[] = [];
            for (const [number, group] of experiments) {
                const moved = group.every((line) => keptText.get(`${line.experiment},${line.trial}`) === line.text);
                if (moved) {
                    continue;
                }
                const taken = kept.some((line) => line.experiment === number);
                const experiment = taken ? ++highest : number;
                for (const line of group) {
                    const fields = line.text.split(",");
                    fields[1] = String(experiment);
                    moving.push({ experiment, trial: line.trial, text: fields.join(",") });
                }
            }
            const transaction = this.db.transaction(LINES, "readwrite", { durability: "strict" });
            const done = completed(transaction);
            const lines = transaction.objectStore(LINES);
            moving.forEach((line) => lines.add(line));
            await done;
            storage.removeItem(OLD_RECORD_KEY);
        });
    }
}
