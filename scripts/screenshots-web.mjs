// node scripts/screenshots-web.mjs <page> <folder>: the README's screenshots of the web edition
// in headless Chromium: the input window and the report for 360, each with a margin of the page.
import { pathToFileURL } from 'node:url';
import { launchChromium } from '../tests/web/browser.mjs';

const [page, folder] = process.argv.slice(2);
const browser = await launchChromium();
try {
    const tab = await browser.newPage({ viewport: { width: 640, height: 360 } });
    tab.setDefaultTimeout(10_000);
    await tab.goto(pathToFileURL(page).href);
    const shoot = async (dialog, file) => {
        await dialog.waitFor();
        const box = await dialog.boundingBox();
        const margin = 12;
        await tab.screenshot({
            path: `${folder}/${file}`,
            clip: { x: box.x - margin, y: box.y - margin, width: box.width + 2 * margin,
                    height: box.height + 2 * margin },
        });
    };
    const dialog = (caption) => tab.getByRole('dialog', { name: caption, exact: true });
    await shoot(dialog('Primfaktoren / Teiler suchen...'), 'web-input.png');
    await tab.keyboard.type('360');
    await tab.keyboard.press('Enter');
    await shoot(dialog('Primfaktoren / Teiler'), 'web-report-360.png');
} finally {
    await browser.close();
}
console.log(`wrote ${folder}/web-input.png and ${folder}/web-report-360.png`);
