// The web edition end to end, in the engine of engines.txt that PRIMTEILER_ENGINE names: the page
// as built, driven by keyboard and mouse and read back as a person or a screen reader finds it;
// its accessibility, by axe-core and by measuring what axe leaves open. One body for every
// engine; what one cannot observe is in engines.mjs's Cannot, a skip there with its reason.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import { Cannot, launch } from './engines.mjs';
import { Page, appears, disappears, enter, finishWindow, found, noteText, open, refuseIfBroken,
         statusSays, waitFor } from './flows.mjs';

const page = process.env.PRIMTEILER_PAGE;
const pageUrl = pathToFileURL(page).href;
const smallMemoryPage = process.env.PRIMTEILER_SMALL_MEMORY_PAGE;
const facts = JSON.parse(readFileSync(process.env.PRIMTEILER_EXAMPLES, 'utf8'));
const engineName = process.env.PRIMTEILER_ENGINE;
const cannot = Cannot[engineName] ?? {};
// A page of mutation testing (tests/web/mutation.mjs) holds instrumented code, larger than ours.
const instrumented = process.env.PRIMTEILER_INSTRUMENTED &&
    'the page holds the instrumented code of mutation testing';

let engine;
before(async () => {
    engine = await launch(engineName);
});
after(() => engine?.close());

// Closes `tab` after checking, as a subtest of `t` (skipped where the engine shows no log),
// that it logged no error but those `expected` matches.
async function done(t, tab, what = '', expected = /^$/) {
    await t.test(`no error in the page${what && ` ${what}`}`, { skip: cannot.errors }, () =>
        assert.deepEqual(tab.errors.filter((error) => !expected.test(error)), []));
    await tab.close();
}

// Enters `entered`, confirmed by `finish`; checks the box of the example entered as `showsAs`,
// dismisses it with `dismiss` (both as finishWindow takes them) and waits for the end.
async function runToEnd(tab, entered,
                        { finish = 'Enter', showsAs = entered, dismiss = 'Enter' } = {}) {
    await enter(tab, facts, entered, finish);
    const shown = facts.examples.find((e) => e.entered === showsAs);
    if (shown.shows === 'report') {
        const text = await noteText(tab, facts.reportCaption);
        assert.match(text, new RegExp(`^${shown.reportPattern}$`));
    } else if (shown.shows === 'error') {
        assert.equal(await noteText(tab, facts.errorCaption), facts.errorText);
    }
    if (shown.shows !== 'nothing') {
        const caption = shown.shows === 'report' ? facts.reportCaption : facts.errorCaption;
        await finishWindow(tab, caption, Page.noteButton, dismiss);
        await disappears(tab, 'dialog', null);
    }
    await statusSays(tab, Page.ended);
}

// Checks that `tab` fetched nothing beyond the page at `own`, its worker (blob:) and its icon
// (data:): as the page itself records it, and as the driver saw it (a subtest of `t`).
async function fetchesNothingBeyond(t, tab, own) {
    const beyond = (urls) => urls.filter((url) => url !== own && !/^(blob|data):/.test(url));
    const recorded = await tab.evaluate(() =>
        performance.getEntriesByType('resource').map((entry) => entry.name));
    assert.deepEqual(beyond(recorded), [], 'what the page recorded');
    await t.test('the driver saw no request beyond the page', { skip: cannot.requests }, () =>
        assert.deepEqual(beyond(tab.requests), []));
}

describe(`the page in ${engineName}`, () => {
    // One run after another in one page, as a user asks for them.
    test('shows every worked example as the program reports it', async (t) => {
        const tab = await open(engine, pageUrl);
        for (const [index, worked] of facts.examples.entries()) {
            if (index > 0) {
                assert.ok((await appears(tab, 'button', Page.againButton)).focused, 'focus');
                await tab.press('Enter');
            }
            await runToEnd(tab, worked.entered);
        }
        await done(t, tab);
    });

    test('answers both windows by key and click, and a window the browser closes', async (t) => {
        const cases = [
            { typed: '360', finish: 'click', showsAs: '360', dismiss: 'click' },
            { typed: '12', finish: 'Escape', showsAs: '', dismiss: 'Enter' }, // cancelled
            { typed: '97', finish: 'Enter', showsAs: '97', dismiss: 'Escape' },
            // Closed by the browser: a cancel, and the box dismissed; the run goes on.
            { typed: '12', finish: 'close', showsAs: '', dismiss: 'Enter' },
            { typed: 'abc', finish: 'Enter', showsAs: 'abc', dismiss: 'close' },
            { typed: '30', finish: 'Enter', showsAs: '30', dismiss: 'close' },
        ];
        for (const { typed, ...how } of cases) {
            const tab = await open(engine, pageUrl);
            await runToEnd(tab, typed, how);
            await done(t, tab, `for "${typed}"`);
        }
    });

    test('opened from disk, it makes no request and is at most 64 KiB', async (t) => {
        await t.test('at most 64 KiB', { skip: instrumented }, () =>
            assert.ok(statSync(page).size <= 64 * 1024, `${statSync(page).size} bytes`));
        const tab = await open(engine, pageUrl);
        await runToEnd(tab, '12');
        await fetchesNothingBeyond(t, tab, pageUrl);
        await done(t, tab);
    });

    test('served by a web server, it loads nothing beside itself', async (t) => {
        const html = readFileSync(page);
        const asked = [];
        const server = createServer((request, response) => {
            asked.push(request.url);
            response.writeHead(request.url === '/' ? 200 : 404, { 'content-type': 'text/html' });
            response.end(request.url === '/' ? html : '');
        });
        await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
        try {
            const url = `http://127.0.0.1:${server.address().port}/`;
            const tab = await open(engine, url);
            await runToEnd(tab, '30');
            await fetchesNothingBeyond(t, tab, url);
            assert.deepEqual(asked, ['/'], 'what the server was asked for');
            await done(t, tab);
        } finally {
            server.close();
        }
    });

    test('draws the input window centred, 300 x 130 pixels', async (t) => {
        const tab = await open(engine, pageUrl);
        const { rect } = await appears(tab, 'dialog', facts.inputCaption);
        const [width, height] = await tab.evaluate(() => [innerWidth, innerHeight]);
        assert.deepEqual([rect.width, rect.height], [300, 130]);
        assert.ok(Math.abs(rect.x - (width - 300) / 2) <= 1, `x ${rect.x}`);
        assert.ok(Math.abs(rect.y - (height - 130) / 2) <= 1, `y ${rect.y}`);
        await done(t, tab);
    });

    // One long report, opened once; its checks in turn, each a subtest.
    test(`a report taller than the window (${facts.longReportEntry})`, async (t) => {
        const tab = await open(engine, pageUrl);
        await enter(tab, facts, facts.longReportEntry);
        const text = await noteText(tab, facts.reportCaption);
        const [width, height] = await tab.evaluate(() => [innerWidth, innerHeight]);
        const inView = ({ rect }) => rect.height > 0 && rect.y >= 0 &&
            rect.y + rect.height <= height && rect.x >= 0 && rect.x + rect.width <= width;
        const checks = {
            [`lists all ${facts.longReportDivisors} divisors`]: () => assert.equal(
                text.split('\r\n').at(-1).split(', ').length, facts.longReportDivisors),
            'keeps its box, caption and OK in view': async () => {
                const box = await found(tab, 'dialog', facts.reportCaption);
                assert.ok(inView(box), `the box ${JSON.stringify(box.rect)}`);
                assert.ok(box.rect.height < height, 'the box is shorter than the window');
                assert.ok(inView(await found(tab, 'button', Page.noteButton)), 'OK in view');
            },
            'is described briefly': async () => {
                const description = await tab.evaluate((caption) => {
                    const box = window.primteilerFind('dialog', caption);
                    return box.getAttribute('aria-describedby').split(/\s+/)
                        .map((id) => document.getElementById(id).textContent).join(' ');
                }, facts.reportCaption);
                assert.ok(description.length <= 400, `${description.length} characters`);
                // Line by line: a short one whole; a long one (each has commas) up to its last
                // comma within its first 100 characters, then " \u2026".
                const lines = text.split('\r\n');
                const described = description.split(/\r?\n/);
                assert.equal(described.length, lines.length, description);
                lines.forEach((line, i) => {
                    if (line.length <= 100) return assert.equal(described[i], line);
                    const kept = described[i].slice(0, -2);
                    assert.ok(described[i].endsWith(' \u2026') && line.startsWith(kept) &&
                              kept.length <= 101, described[i]);
                    const next = line.indexOf(', ', kept.length);
                    assert.ok(kept.endsWith(',') && (next === -1 || next > 100), kept);
                });
            },
            'scrolls its text, a named tab stop, by keyboard': async () => {
                await tab.press('Shift+Tab'); // from OK back to the text
                const body = await appears(tab, 'region', facts.reportCaption);
                assert.ok(body.focused, 'the text has the focus');
                assert.ok(body.scrollHeight > body.clientHeight,
                          `${body.scrollHeight} > ${body.clientHeight}`);
                await tab.press('PageDown');
                await waitFor(tab, 'it to scroll', () => document.activeElement.scrollTop > 0);
            },
            'closes by Enter from its text': async () => {
                await tab.press('Enter');
                await statusSays(tab, Page.ended);
            },
            'leaves a short report after it no tab stop of its own': async () => {
                assert.ok((await appears(tab, 'button', Page.againButton)).focused, 'focus');
                await tab.press('Enter');
                await enter(tab, facts, '1296'); // its divisors: a line of 100 characters
                await noteText(tab, facts.reportCaption);
                const [stop, described, text] = await tab.evaluate((caption) => {
                    const box = window.primteilerFind('dialog', caption);
                    const body = box.querySelector('.note-text');
                    return [body.tabIndex, box.getAttribute('aria-describedby').split(/\s+/)
                        .map((id) => document.getElementById(id).textContent).join(' '),
                    body.textContent];
                }, facts.reportCaption);
                assert.equal(stop, -1);
                assert.ok(text.split('\n').some((line) => line.length === 100), text);
                assert.equal(described, text, 'described by its whole text, no line cut');
            },
        };
        for (const [name, check] of Object.entries(checks)) await t.test(name, check);
        await done(t, tab);
    });

    test('cuts an entry past the limit as the Windows edition does', async (t) => {
        const tab = await open(engine, pageUrl);
        await runToEnd(tab, facts.longEntry, { showsAs: facts.longEntryShowsAs });
        await done(t, tab);
    });

    test('runs the program again when asked', async (t) => {
        const tab = await open(engine, pageUrl);
        await runToEnd(tab, '');
        assert.ok((await appears(tab, 'button', Page.againButton)).focused, 'focus');
        await tab.press('Enter');
        await appears(tab, 'dialog', facts.inputCaption);
        assert.equal(await found(tab, 'button', Page.againButton), null, 'the button is gone');
        await runToEnd(tab, '2');
        await done(t, tab);
    });

    // Runs that end before they ask: ours out of memory, two programs that end as ours never
    // does, and a second run broken in the page by `breakRun` (the worker cannot be made, it
    // reports an error with a message or, as Firefox does for a script it cannot load, without
    // one, a window cannot open). `errors`: what the page logs, the program's own lines.
    test('says how a run ended that asked nothing', async (t) => {
        const crashed = 'Das Programm ist abgest\u00fcrzt: ';
        const reporting = (event) => {
            const Real = Worker;
            window.Worker = function () {
                const worker = new Real(URL.createObjectURL(new Blob([''])));
                setTimeout(() => worker.dispatchEvent(event()));
                return worker;
            };
        };
        const cases = [
            { page: smallMemoryPage, errors: ['primteiler: out of memory'],
              line: 'Das Programm ist abgebrochen: zu wenig Speicher ' +
                    `(Exit-Code ${facts.outOfMemoryExitCode}).` },
            { page: process.env.PRIMTEILER_EXIT_CODE_PAGE, line: 'Das Programm ist abgebrochen ' +
                  `(Exit-Code ${process.env.PRIMTEILER_OTHER_EXIT_CODE}).` },
            { page: process.env.PRIMTEILER_TRAP_PAGE, // the engine's own words for the trap
              line: new RegExp(`^${crashed}unreachable`, 'i') },
            { breakRun: () => { window.Worker = function () { throw new Error('planted'); }; },
              line: `${crashed}planted` },
            { breakRun: reporting, args: [() => new ErrorEvent('error', { message: 'planted' })],
              line: `${crashed}planted` },
            { breakRun: reporting, args: [() => new Event('error')],
              line: `${crashed}Fehler im Worker` },
            { breakRun: () => {
                HTMLDialogElement.prototype.showModal = () => { throw new Error('planted'); };
            }, line: `${crashed}planted` },
        ];
        for (const { page: ending = page, breakRun, args = [], line, errors = [] } of cases) {
            const tab = await open(engine, pathToFileURL(ending).href);
            if (breakRun) {
                await enter(tab, facts, '', 'Escape');
                await statusSays(tab, Page.ended);
                await tab.evaluate(`(${breakRun})(${args.map(String).join(', ')})`);
                await tab.press('Enter'); // on "Noch einmal starten"
            }
            const said = await waitFor(tab, `the status line to say ${line}`, (earlier) => {
                const text = document.querySelector('[role=status]').textContent;
                return !/^Das Programm (wird geladen|l\u00e4uft)/.test(text) && text !== earlier &&
                    text;
            }, [breakRun ? Page.ended : null]);
            if (typeof line === 'string') assert.equal(said, line);
            else assert.match(said, line);
            assert.equal(await found(tab, 'dialog', null), null, 'no window');
            assert.ok((await appears(tab, 'button', Page.againButton)).focused, 'focus');
            await t.test(`the page logs what the program writes, for ${line}`,
                         { skip: cannot.errors }, () => assert.deepEqual(tab.errors, errors));
            await tab.close();
        }
    });

    test('fits a phone at 400 % zoom, with targets of at least 24 pixels',
         { skip: cannot.narrowViewport }, async (t) => {
        // 1280 CSS pixels at 400 % are 320.
        const tab = await open(engine, pageUrl, { width: 320, height: 256 });
        assert.equal(await tab.evaluate(() => innerWidth), 320);
        // Each state: the window on screen (none: the page after the end), its buttons, and
        // how to go on to the next.
        const states = [
            { window: facts.inputCaption, buttons: [Page.okButton],
              next: () => enter(tab, facts, '360') },
            { window: facts.reportCaption, buttons: [Page.noteButton],
              next: () => tab.press('Enter') },
            { window: null, buttons: [Page.againButton] },
        ];
        for (const state of states) {
            const where = state.window ?? 'the ended page';
            await appears(tab, 'button', state.buttons[0]);
            const [scrollWidth, width] =
                await tab.evaluate(() => [document.documentElement.scrollWidth, innerWidth]);
            assert.ok(scrollWidth <= width, `${where}: page ${scrollWidth} > ${width}`);
            // Every part of the window within it; of the page, within the viewport.
            const overflow = await tab.evaluate((caption) => {
                const box = caption ? window.primteilerFind('dialog', caption) : document.body;
                const outer = caption ? box.getBoundingClientRect() : new DOMRect(0, 0, innerWidth);
                return [...box.querySelectorAll('*')].map((e) => [e, e.getBoundingClientRect()])
                    .filter(([, r]) => r.width && (r.left < outer.left || r.right > outer.right))
                    .map(([e, r]) => `${e.tagName} ${r.left}..${r.right}`);
            }, state.window);
            assert.deepEqual(overflow, [], where);
            for (const name of state.buttons) {
                const { rect } = await appears(tab, 'button', name);
                assert.ok(rect.width >= 24 && rect.height >= 24, `${name} ${rect.width}x${rect.height}`);
            }
            await state.next?.();
        }
        await done(t, tab);
    });

    test('asks a phone for digits, and still takes any text', async (t) => {
        const tab = await open(engine, pageUrl);
        await appears(tab, 'textbox', facts.inputPrompt);
        const field = await tab.evaluate(() => {
            const input = window.primteilerFind('textbox', null);
            return [input.type, input.getAttribute('inputmode'), input.getAttribute('enterkeyhint')];
        });
        assert.deepEqual(field, ['text', 'numeric', 'done']);
        await runToEnd(tab, ' 12abc');
        await done(t, tab);
    });
});

// --- Accessibility: axe-core, and what axe leaves undecided ----------------------------------

const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'),
                               'utf8');

// axe-core's findings in `tab` now: its violations, one line each ("rule: target"), and how
// many rules passed and how many it could not decide.
async function axeFindings(tab) {
    await tab.evaluate(axeSource); // injected by the test, never shipped in the page
    return tab.evaluate(async (tags) => {
        const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
        return { violations: result.violations.flatMap((v) => v.nodes.map((n) => `${v.id}: ${n.target}`)),
                 passed: result.passes.length,
                 incomplete: result.incomplete.map((i) => i.id) };
    }, axeTags);
}

// WCAG's contrast ratio of two "rgb(r, g, b)" colours.
function contrast(first, second) {
    const luminance = (colour) => {
        const [r, g, b] = colour.match(/[\d.]+/g).slice(0, 3).map((c) => {
            const s = Number(c) / 255;
            return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
        });
        return 0.2126 * r + 0.7152 * g + 0.0722 * b;
    };
    const [dark, light] = [luminance(first), luminance(second)].sort((a, b) => a - b);
    return (light + 0.05) / (dark + 0.05);
}

// In the page: the caption's text colour and its background's colours from left to right: the
// stops of its linear gradient, or its one colour.
function captionColours(caption) {
    const bar = window.primteilerFind('dialog', caption).querySelector('.caption');
    const style = getComputedStyle(bar);
    return { text: style.color,
             stops: style.backgroundImage.match(/rgba?\([^)]*\)/g) ?? [style.backgroundColor] };
}

// The least contrast of `text` on a gradient through `stops`, evenly spaced, sampled at 101
// points from end to end: wherever a caption's text ends, it ends on one of them.
function leastContrast(text, stops) {
    const rgb = stops.map((stop) => stop.match(/[\d.]+/g).slice(0, 3).map(Number));
    return Math.min(...Array.from({ length: 101 }, (_, step) => {
        const at = (step / 100) * (rgb.length - 1);
        const [from, to, part] = [rgb[Math.floor(at)], rgb[Math.ceil(at)], at - Math.floor(at)];
        return contrast(text, `rgb(${from.map((c, i) => c + (to[i] - c) * part).join(', ')})`);
    }));
}

// In the page: every status line change with whether an assistive technology could take it in:
// no modal window open (which makes the rest of the page inert) and no window closed in the
// same task (the line then enters the accessibility tree already changed, and nothing is read).
function recordStatus() {
    window.primteilerStatus = [];
    const status = document.querySelector('[role=status]');
    let closing = false; // a window closed in the task that runs now
    new MutationObserver((records) => {
        if (records.some((r) => r.attributeName === 'open' && !r.target.open)) {
            closing = true;
            setTimeout(() => (closing = false));
        }
        if (!records.some((r) => status.contains(r.target))) return;
        window.primteilerStatus.push({
            text: status.textContent,
            exposed: !closing && !document.querySelector('dialog:modal') &&
                !status.closest('[inert]'),
        });
    }).observe(document.body, { subtree: true, childList: true, characterData: true,
                                attributes: true, attributeFilter: ['open'] });
}

describe(`the page for everyone, in ${engineName}`, () => {
    test('axe-core finds no violation in any of six states', async (t) => {
        const states = [
            { name: 'input window', entered: null },
            { name: 'report of 360', entered: '360', box: facts.reportCaption },
            { name: 'ERROR box', entered: 'abc', box: facts.errorCaption },
            { name: 'report of 735134400', entered: facts.longReportEntry,
              box: facts.reportCaption },
            { name: 'ended', entered: '360', box: facts.reportCaption, dismiss: 'Enter' },
            { name: 'ended by Escape', entered: '12', finish: 'Escape' },
        ];
        const violationsOf = {};
        for (const state of states) {
            const tab = await open(engine, pageUrl);
            await appears(tab, 'dialog', facts.inputCaption);
            if (state.entered !== null) await enter(tab, facts, state.entered, state.finish);
            if (state.box) await noteText(tab, state.box);
            if (state.dismiss) await tab.press(state.dismiss);
            if (state.dismiss || state.finish) await statusSays(tab, Page.ended);
            const { violations, passed, incomplete } = await axeFindings(tab);
            t.diagnostic(`${state.name}: ${violations.length} violations, ${passed} rules ` +
                         `passed, undecided: ${incomplete.join(' ') || 'none'}`);
            violationsOf[state.name] = violations;
            await done(t, tab, state.name);
        }
        for (const state of states) assert.deepEqual(violationsOf[state.name], [], state.name);
    });

    // page.css picks the caption's colours for white text on its whole gradient at 5:1 or more.
    test('caption text and field edge stand out from their background', async (t) => {
        const tab = await open(engine, pageUrl);
        const box = await appears(tab, 'dialog', facts.inputCaption);
        const caption = await tab.evaluate(captionColours, facts.inputCaption);
        const ratio = leastContrast(caption.text, caption.stops);
        const what = `caption ${caption.text} on ${caption.stops.join(' to ')}`;
        t.diagnostic(`${what}: ${ratio.toFixed(2)}:1 at the least`);
        assert.ok(ratio >= 5, `${what}: ${ratio}`);
        for (const { side, colour } of (await found(tab, 'textbox', facts.inputPrompt)).edges) {
            const edgeRatio = contrast(colour, box.background);
            const edge = `field edge ${side} ${colour} on ${box.background}`;
            t.diagnostic(`${edge}: ${edgeRatio.toFixed(2)}:1`);
            assert.ok(edgeRatio >= 3, `${edge}: ${edgeRatio}`);
        }
        await done(t, tab);
    });

    test('keeps every edge and the caption bar in forced colours', { skip: cannot.forcedColors },
         async (t) => {
        refuseIfBroken();
        const forced = await launch(engineName, { forcedColors: true });
        try {
            const tab = await open(forced, pageUrl);
            const box = await appears(tab, 'dialog', facts.inputCaption);
            assert.ok(await tab.evaluate(() => matchMedia('(forced-colors: active)').matches),
                      'forced colours are on');
            for (const { side, width, colour } of box.edges) {
                assert.ok(parseFloat(width) > 0 && colour !== box.background,
                          `${side} edge ${width} ${colour} on ${box.background}`);
            }
            const bar = await tab.evaluate(captionColours, facts.inputCaption);
            assert.ok(!bar.stops.includes(box.background), 'the caption bar stands apart');
            const ratio = leastContrast(bar.text, bar.stops);
            assert.ok(ratio >= 4.5, `${bar.text} on ${bar.stops}: ${ratio}`);
            await done(t, tab);
        } finally {
            await forced.close();
        }
    });

    test('announces the computation while it runs and again when it ends', async (t) => {
        const tab = await open(engine, pageUrl);
        await appears(tab, 'dialog', facts.inputCaption);
        await tab.evaluate(recordStatus);
        await enter(tab, facts, '100000007'); // a prime: a fifth of a second of divisions
        await noteText(tab, facts.reportCaption);
        assert.equal(await tab.evaluate(() => document.querySelector('[role=status]').textContent),
                     '', 'no line under the box'); // else its next write would change nothing
        await tab.press('Enter'); // the run ends within the 100 ms a line may wait to be written
        await statusSays(tab, Page.ended);
        await new Promise((resolve) => setTimeout(resolve, 200)); // any write still to come
        const changes = await tab.evaluate(() => window.primteilerStatus);
        for (const line of [Page.running, Page.ended]) {
            assert.ok(changes.some((c) => c.text === line && c.exposed),
                      `"${line}" announced: ${JSON.stringify(changes)}`);
        }
        // Nothing else is said, and a line written again over itself may be announced again.
        assert.ok(changes.every((c, i) => ['', Page.running, Page.ended].includes(c.text) &&
                                          (i === 0 || c.text !== changes[i - 1].text)),
                  `each change written once: ${JSON.stringify(changes)}`);
        assert.equal(changes.at(-1).text, Page.ended, 'the end line stays');
        await done(t, tab);
    });
});
