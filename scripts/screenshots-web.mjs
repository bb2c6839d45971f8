// node scripts/screenshots-web.mjs <page> <worked examples JSON> <folder> [engine]
// [forced-colors|zoom]: the input window and the report for 360 in one engine of engines.txt
// (default chromium): web-input.png and web-report-360.png for Chromium as it is, else
// web-<engine>[-<mode>]-input.png and ...-report-360.png. forced-colors shows the page in
// forced-colours mode; zoom at 400 % (a 320-pixel-wide viewport).
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { Cannot, launch } from '../tests/web/engines.mjs';
import { appears, enter, open } from '../tests/web/flows.mjs';

const [page, examples, folder, engineName = 'chromium', mode = ''] = process.argv.slice(2);
const facts = JSON.parse(readFileSync(examples, 'utf8'));
const prefix = engineName === 'chromium' && !mode ? 'web' : ['web', engineName, mode].filter(Boolean).join('-');
const size = mode === 'zoom' ? { width: 320, height: 256, scale: 4 } : { width: 640, height: 360 };
const cannot = ({ zoom: ['narrowViewport', 'scale'], 'forced-colors': ['forcedColors'] }[mode]
    ?? []).map((limit) => Cannot[engineName]?.[limit]).filter(Boolean);
if (cannot.length) {
    console.log(`no ${mode} pictures in ${engineName}: ${cannot.join('; ')}`);
    process.exit(0);
}

const engine = await launch(engineName, { forcedColors: mode === 'forced-colors' });
try {
    const tab = await open(engine, pathToFileURL(page).href, size);
    // The window captioned `caption`, once it is there, as <prefix>-<name>.png.
    const shoot = (caption, name) => appears(tab, 'dialog', caption).then(() => tab.screenshot(
        `${folder}/${prefix}-${name}.png`, (c) => window.primteilerFind('dialog', c), caption));
    await shoot(facts.inputCaption, 'input');
    await enter(tab, facts, '360');
    await shoot(facts.reportCaption, 'report-360');
    await tab.close();
} finally {
    await engine.close();
}
console.log(`wrote ${folder}/${prefix}-input.png and ${folder}/${prefix}-report-360.png`);
