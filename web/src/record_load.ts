// A class's record files read in a worker, slice by slice, as the desktop reads them: the
// window stays responsive whatever the files' size, the reading shows its progress and can
// be cancelled.

import { engineWorkerUrl } from "./engine_worker";
import type { PooledLadder } from "./engine";

/** A file refused: its name, the line (0 for the file as a whole) and the reason. */
export interface RecordRefusal {
    name: string;
    line: number;
    japanese: string;
}

/** What the files hold, pooled by ladder. */
export interface LoadedRecords {
    refusals: RecordRefusal[];
    notes: string[];
    ladders: PooledLadder[];
}

/** The bytes read at a time: small enough to report progress often, large enough to read fast. */
const SLICE = 4 << 20;

/** The worker: each file's slices through the engine's reader, then the files pooled. */
const READ_FILES = `
    const megabytes = (bytes) => (bytes / 1048576).toFixed(1);
    const records = new engine.PageRecords();
    const total = data.files.reduce((sum, file) => sum + file.size, 0);
    const refusals = [];
    let before = 0;
    for (const file of data.files) {
        records.begin(file.name);
        let at = 0;
        let refusal = null;
        try {
            for (; at < file.size; at += ${SLICE}) {
                const bytes = new Uint8Array(await file.slice(at, at + ${SLICE}).arrayBuffer());
                postMessage({ done: before + at + bytes.length, total });
                if (!records.read(bytes)) {
                    break;
                }
            }
            refusal = records.finish();
        } catch (error) {
            if (error instanceof DOMException) {
                refusal = { line: 0, japanese: "ファイルを読めません（読んでいる間に動かされたか消されたか、読むことが許されていません）。" };
            } else {
                // Out of memory: the engine is not to be trusted further, so the reading ends here.
                refusals.push({ name: file.name, line: 0, japanese: "ファイルが大きすぎて、このブラウザでは読み切れません（" +
                    megabytes(file.size) + " MB のうち " + megabytes(at) + " MB まで読みました）。" });
                postMessage({ result: { refusals, notes: [], ladders: [] } });
                return;
            }
        }
        if (refusal) {
            refusals.push({ name: file.name, line: refusal.line, japanese: refusal.japanese });
        }
        before += file.size;
    }
    postMessage({ result: { refusals, ...records.pooled() } });
`;

export class RecordLoader {
    private readonly url: string;
    private worker: Worker | null = null;
    private finish: ((loaded: LoadedRecords | null) => void) | null = null;

    constructor(engineSource: string) {
        this.url = engineWorkerUrl(engineSource, READ_FILES);
    }

    /** What `files` hold, or null when cancelled; `progress` hears the bytes read so far. */
    load(files: File[], progress: (done: number, total: number) => void): Promise<LoadedRecords | null> {
        this.cancel();
        return new Promise((finish) => {
            const worker = new Worker(this.url);
            this.worker = worker;
            this.finish = finish;
            worker.onmessage = ({ data }) => {
                if (data.result) {
                    this.end(data.result);
                } else {
                    progress(data.done, data.total);
                }
            };
            worker.onerror = (event) => {
                event.preventDefault();
                const refusal = "ファイルを読む途中で止まりました（このブラウザのメモリが足りないようです）。";
                this.end({ refusals: files.map((file) => ({ name: file.name, line: 0, japanese: refusal })), notes: [], ladders: [] });
            };
            worker.postMessage({ files });
        });
    }

    /** Stops the reading at once: load answers null. */
    cancel(): void {
        this.end(null);
    }

    private end(loaded: LoadedRecords | null): void {
        this.worker?.terminate();
        this.worker = null;
        const finish = this.finish;
        this.finish = null;
        finish?.(loaded);
    }
}
