// Simulations on every core: Web Workers, each running the engine's sampler on the blocks the
// pool hands out. The blocks and their seeds are the desktop's, so the counts are the same
// whatever the number of workers.

import { constants } from "./constants";
import { engineWorkerUrl } from "./engine_worker";

/** What each worker does with a block: the engine's sampler. */
const BLOCK = `
    const counts = engine.simulateBlocks(data.rungs, data.start, data.seed, data.first, 1, data.trials);
    postMessage({ first: data.first, counts });
`;

/** A module of one function that uses a WebAssembly SIMD instruction. */
const SIMD_PROBE = new Uint8Array([
    0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 8, 1, 6, 0, 65, 0, 253, 15, 11,
]);

/**
 * The script the workers run: the simulation built with SIMD, which the page holds as text,
 * where this browser has SIMD, the engine's own otherwise. Both count the same for a seed.
 */
function workerEngine(engineSource: string): string {
    const simdSource = document.getElementById("simulation-script")?.textContent ?? "";
    return simdSource !== "" && WebAssembly.validate(SIMD_PROBE) ? simdSource : engineSource;
}

export interface SimulationRequest {
    rungs: number;
    start: number;
    seed: number;
    trials: number;
}

interface Run {
    request: SimulationRequest;
    blocks: number;
    nextBlock: number;
    blocksDone: number;
    counts: number[];
    progress: (done: number, total: number) => void;
    finish: (counts: number[] | null) => void;
}

export class SimulationPool {
    private workers: Worker[] = [];
    private run: Run | null = null;
    private readonly url: string;

    /** Workers built from `engineSource`, the engine's script text, or the SIMD one; `size` of them. */
    constructor(
        engineSource: string,
        private readonly trialsPerBlock: number,
        private readonly size = Math.max(1, navigator.hardwareConcurrency || 2),
    ) {
        this.url = engineWorkerUrl(workerEngine(engineSource), BLOCK);
    }

    get workerCount(): number {
        return this.size;
    }

    /** The landings per column of `request`, or null when cancelled. */
    simulate(request: SimulationRequest, progress: (done: number, total: number) => void): Promise<number[] | null> {
        this.cancel();
        if (this.workers.length === 0) {
            this.workers = Array.from({ length: this.size }, () => {
                const worker = new Worker(this.url);
                worker.onmessage = ({ data }) => this.received(worker, data.counts);
                return worker;
            });
        }
        return new Promise((finish) => {
            const blocks = Math.ceil(request.trials / this.trialsPerBlock);
            this.run = { request, blocks, nextBlock: 0, blocksDone: 0, counts: Array(constants().lineCount).fill(0), progress, finish };
            if (blocks === 0) {
                this.complete();
                return;
            }
            this.workers.forEach((worker) => this.handOut(worker));
        });
    }

    /** Stops at once: the workers are ended, and the run answers null. */
    cancel(): void {
        if (!this.run) {
            return;
        }
        this.workers.forEach((worker) => worker.terminate());
        this.workers = [];
        const { finish } = this.run;
        this.run = null;
        finish(null);
    }

    private handOut(worker: Worker): void {
        const run = this.run!;
        if (run.nextBlock < run.blocks) {
            worker.postMessage({ ...run.request, first: run.nextBlock++ });
        }
    }

    private received(worker: Worker, counts: number[]): void {
        const run = this.run;
        if (!run) {
            return;
        }
        counts.forEach((count, column) => (run.counts[column] += count));
        ++run.blocksDone;
        run.progress(Math.min(run.request.trials, run.blocksDone * this.trialsPerBlock), run.request.trials);
        if (run.blocksDone === run.blocks) {
            this.complete();
        } else {
            this.handOut(worker);
        }
    }

    private complete(): void {
        const run = this.run!;
        this.run = null;
        run.finish(run.counts);
    }
}
