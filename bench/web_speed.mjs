// node bench/web_speed.mjs <console program> <page> [rounds]: times both computations in the
// web edition's page (headless Chromium) and in the console edition, in turns within one run,
// as each reports them in its box; prints the medians side by side and the page's size.
import { spawnSync } from 'node:child_process';
import { statSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { launchChromium } from '../tests/web/browser.mjs';

const [program, page, rounds = '5'] = process.argv.slice(2);
// Each entry times the method it is there for: a prime costs 2^31 - 2 trial divisions, 2^24
// makes 2^24 - 1 products of 24 factors.
const cases = [
    { entered: '2147483647', method: 'trial division', heading: 'Primfaktoren' },
    { entered: '16777216', method: 'divisors', heading: 'Teiler' },
];

const milliseconds = (report, heading) =>
    Number(new RegExp(`${heading} \\((\\d+) ms\\)`).exec(report)[1]);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function native(entered) {
    const run = spawnSync(program, { input: `${entered}\n`, encoding: 'latin1' });
    if (run.status !== 0) throw new Error(`${program} ended with ${run.status}: ${run.stderr}`);
    return run.stdout;
}

async function web(browser, entered) {
    const tab = await browser.newPage();
    await tab.goto(pathToFileURL(page).href);
    const input = tab.getByRole('dialog', { name: 'Primfaktoren / Teiler suchen...', exact: true });
    await input.waitFor();
    await tab.keyboard.type(entered);
    await tab.keyboard.press('Enter');
    const note = tab.getByRole('dialog', { name: 'Primfaktoren / Teiler', exact: true });
    await note.waitFor({ timeout: 600_000 });
    const report = await tab.locator('#note-text').innerText();
    await tab.close();
    return report;
}

const browser = await launchChromium();
try {
    const rows = [];
    for (const c of cases) {
        const times = { native: [], web: [] };
        for (let round = 0; round < Number(rounds); ++round) {
            times.native.push(milliseconds(native(c.entered), c.heading));
            times.web.push(milliseconds(await web(browser, c.entered), c.heading));
        }
        console.log(`${c.entered}: console ${times.native.join(' ')} ms; ` +
                    `page ${times.web.join(' ')} ms`);
        const [n, w] = [median(times.native), median(times.web)];
        rows.push(`| ${c.entered.padEnd(10)} | ${c.method.padEnd(14)} | ${`${n} ms`.padEnd(7)} | ` +
                  `${`${w} ms`.padEnd(7)} | ${`${(w / n).toFixed(2)}x`.padEnd(14)} |`);
    }
    const bytes = statSync(page).size;
    console.log(`\npage: ${bytes} bytes (${(bytes / 1024).toFixed(1)} KiB)`);
    console.log(`medians of ${rounds} rounds, of the times each edition reports:\n`);
    console.log('| entry      | method         | console | page    | page / console |');
    console.log('|------------|----------------|---------|---------|----------------|');
    for (const row of rows) console.log(row);
} finally {
    await browser.close();
}
