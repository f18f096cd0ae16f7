// The two chimes, embedded in the page. Browsers let a page sound only after the user has
// touched it; a chime that cannot play is skipped and never holds anything up.

declare const TANABASHIGO_CHIMES: Record<string, string>;

const players = new Map<string, HTMLAudioElement>();

/** Plays the chime of `file` ("pinpon.wav" or "endpinpon.wav") from its start. */
export function playChime(file: string): void {
    try {
        let player = players.get(file);
        if (!player) {
            const data = typeof TANABASHIGO_CHIMES === "undefined" ? undefined : TANABASHIGO_CHIMES[file];
            if (!data) {
                return;
            }
            player = new Audio(`data:audio/wav;base64,${data}`);
            players.set(file, player);
        }
        player.pause();
        player.currentTime = 0;
        player.play().catch(() => undefined);
    } catch {
        // No audio here: the experiment goes on without the chime.
    }
}
