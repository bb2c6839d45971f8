// node bench/web_speed.mjs <console program> <page> <worked examples JSON> <rounds> <engine|all>:
// times both computations in the page in an engine (all: each) and in the console edition, in
// turns within one run, as each reports them; prints the medians side by side, the page's size.
import { spawnSync } from 'node:child_process';
import { readFileSync, statSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { EngineNames, launch } from '../tests/web/engines.mjs';
import { enter, noteText, open } from '../tests/web/flows.mjs';

const [program, page, examples, rounds, engineArgument] = process.argv.slice(2);
const facts = JSON.parse(readFileSync(examples, 'utf8'));
const engineNames = engineArgument === 'all' ? EngineNames : [engineArgument];
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

async function web(engine, entered) {
    const tab = await open(engine, pathToFileURL(page).href);
    await enter(tab, facts, entered);
    const report = await noteText(tab, facts.reportCaption, 600_000);
    await tab.close();
    return report;
}

const rows = [];
for (const name of engineNames) {
    const engine = await launch(name);
    try {
        for (const c of cases) {
            const times = { native: [], web: [] };
            for (let round = 0; round < Number(rounds); ++round) {
                times.native.push(milliseconds(native(c.entered), c.heading));
                times.web.push(milliseconds(await web(engine, c.entered), c.heading));
            }
            console.log(`${name}, ${c.entered}: console ${times.native.join(' ')} ms; ` +
                        `page ${times.web.join(' ')} ms`);
            const [n, w] = [median(times.native), median(times.web)];
            rows.push(`| ${name.padEnd(8)} | ${c.entered.padEnd(10)} | ${c.method.padEnd(14)} | ` +
                      `${`${n} ms`.padEnd(7)} | ${`${w} ms`.padEnd(7)} | ` +
                      `${`${(w / n).toFixed(2)}x`.padEnd(14)} |`);
        }
    } finally {
        await engine.close();
    }
}
const bytes = statSync(page).size;
console.log(`\npage: ${bytes} bytes (${(bytes / 1024).toFixed(1)} KiB)`);
console.log(`medians of ${rounds} rounds, of the times each edition reports:\n`);
console.log('| engine   | entry      | method         | console | page    | page / console |');
console.log('|----------|------------|----------------|---------|---------|----------------|');
for (const row of rows) console.log(row);
