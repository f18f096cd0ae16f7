// Files the page hands to the user: a record, a chart, a table, a printed worksheet.

/** Offers `data` for download as `name`. */
export function download(name: string, data: Blob): void {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(data);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

/** The SVG document `svg` drawn to a PNG of its own size. */
export function svgToPng(svg: string): Promise<Blob> {
    return new Promise((resolve, reject) => {
        const image = new Image();
        const url = URL.createObjectURL(new Blob([svg], { type: "image/svg+xml" }));
        image.onload = () => {
            const canvas = document.createElement("canvas");
            canvas.width = image.naturalWidth || 1200;
            canvas.height = image.naturalHeight || 720;
            const context = canvas.getContext("2d")!;
            context.fillStyle = "#fff";
            context.fillRect(0, 0, canvas.width, canvas.height);
            context.drawImage(image, 0, 0, canvas.width, canvas.height);
            URL.revokeObjectURL(url);
            canvas.toBlob((png) => (png ? resolve(png) : reject(new Error("PNG"))), "image/png");
        };
        image.onerror = () => reject(new Error("SVG"));
        image.src = url;
    });
}

/**
 * Prints the page document `svg` (a worksheet) alone, as the print stylesheet lays it on one A4
 * sheet; settles once the browser's printing is done.
 */
export function printSheet(svg: string): Promise<void> {
    let sheet = document.getElementById("print-sheet");
    if (!sheet) {
        sheet = document.createElement("div");
        sheet.id = "print-sheet";
        sheet.className = "print-sheet";
        document.body.appendChild(sheet);
    }
    sheet.innerHTML = svg;
    return new Promise((resolve) => {
        window.addEventListener("afterprint", () => resolve(), { once: true });
        window.print();
    });
}
