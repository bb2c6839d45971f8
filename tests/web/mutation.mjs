// StrykerJS's two commands in a sandbox (stryker.config.mjs), run in the sandbox's root:
//   build   once a sandbox: the pages the page suite opens, made again from the sandbox's
//           instrumented ui/web files, their programs taken from the pages that CTest tests in
//           the build folder PRIMTEILER_MUTATION_BUILD names; each page gets a slot for the mutant
//   run     one mutant (Stryker's __STRYKER_ACTIVE_MUTANT__; none in the dry run): the pages
//           with the slot filled, the worker suite, then the page suite in Chromium, stopped at
//           its first failing test
//   report  a run's summary, for scripts/mutation
import { execFileSync, spawn, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';

const Engine = 'chromium';
const out = join(process.cwd(), 'mutation-pages');
const Slot = 'MUTANT-SLOT';

// Instrumented code reads the mutant from globalThis.__stryker__ (in Node.js from the
// environment). The page sets it from the slot, for itself and, ahead of the worker's source,
// for the worker it starts; after the directive, which must stay first.
const pagePreamble = `
globalThis.__stryker__ =
    { activeMutant: document.getElementById('mutant').textContent || undefined };
document.getElementById('worker').textContent =
    \`globalThis.__stryker__ = \${JSON.stringify(globalThis.__stryker__)};\\n\` +
    document.getElementById('worker').textContent;
`;

// The environment CTest gives the page suite in `Engine`.
function suiteEnvironment() {
    const listing = JSON.parse(execFileSync('ctest', ['--test-dir',
        process.env.PRIMTEILER_MUTATION_BUILD, '--show-only=json-v1',
        '-R', `^web_page_tests_${Engine}$`], { encoding: 'utf8' }));
    const variables = listing.tests[0].properties.find((p) => p.name === 'ENVIRONMENT').value;
    return Object.fromEntries(variables.map((v) => [v.slice(0, v.indexOf('=')),
                                                     v.slice(v.indexOf('=') + 1)]));
}

const pages = { PRIMTEILER_PAGE: 'primteiler', PRIMTEILER_SMALL_MEMORY_PAGE: 'small-memory',
                PRIMTEILER_EXIT_CODE_PAGE: 'exit-code', PRIMTEILER_TRAP_PAGE: 'trap' };

function build() {
    const environment = suiteEnvironment();
    const web = join(out, 'web');
    mkdirSync(web, { recursive: true });
    for (const file of ['page.css', 'page.html.in', 'worker.mjs'])
        writeFileSync(join(web, file), readFileSync(join('ui/web', file)));
    const script = readFileSync('ui/web/page.js', 'utf8');
    const directive = /^(\s*(\/\/[^\n]*\n|\/\*[^]*?\*\/)\s*)*(['"])use strict\3;?/.exec(script);
    if (!directive) throw new Error('ui/web/page.js does not begin with "use strict"');
    writeFileSync(join(web, 'page.js'), script.slice(0, directive[0].length) + pagePreamble +
                  script.slice(directive[0].length));
    for (const [variable, name] of Object.entries(pages)) {
        const built = readFileSync(environment[variable], 'utf8');
        const program = join(out, `${name}.wasm`);
        writeFileSync(program, Buffer.from(/id="program">([^<]*)</.exec(built)[1], 'base64'));
        const page = join(out, `${name}.html`);
        execFileSync('cmake', [`-DPROGRAM=${program}`, `-DWEB=${web}`,
                               '-DICON=app/primteiler.svg', `-DOUT=${page}`,
                               '-P', 'cmake/WebPage.cmake'], { stdio: 'inherit' });
        const worker = '<script type="text/plain" id="worker">';
        writeFileSync(page, readFileSync(page, 'utf8').replace(worker,
            `<script type="text/plain" id="mutant">${Slot}</script>\n${worker}`));
    }
    writeFileSync(join(out, 'environment.json'), JSON.stringify(environment));
}

// Runs the page suite; resolves to true if it passed, false at its first failing test, which
// ends it.
function pageSuite(env) {
    return new Promise((resolve) => {
        const suite = spawn(process.execPath, ['--test-reporter=tap', 'tests/web/page_test.mjs'],
                            { env, stdio: ['ignore', 'pipe', 'inherit'] });
        let failed = false;
        createInterface({ input: suite.stdout }).on('line', (line) => {
            console.log(line);
            if (!failed && /^\s*not ok /.test(line)) {
                failed = true;
                // On SIGINT puppeteer ends its browser and the process; on SIGTERM only the
                // browser, and the suite would go on against none.
                suite.kill('SIGINT');
                setTimeout(() => suite.kill('SIGKILL'), 5_000).unref();
            }
        });
        suite.on('exit', (code) => resolve(!failed && code === 0));
    });
}

// Ends the browsers that runs left behind: ones that outlived a suite Stryker killed at its
// time-out, or our SIGKILL. Each run's browsers keep their profiles in a scratch folder named
// by the run's process (the sandbox's runners run side by side); a folder whose process has
// ended is swept with what names it. Short, as Chromium puts a socket there, and a socket's
// path has room for 107 bytes.
const Scratch = 'primteiler-mutant-';
function endBrowsersIn(folders) {
    if (!folders.length) return;
    for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
        let command;
        try {
            command = readFileSync(`/proc/${pid}/cmdline`, 'utf8');
        } catch {
            continue; // ended meanwhile
        }
        if (!folders.some((folder) => command.includes(folder))) continue;
        try { // a browser leads a process group of its own, with its helpers
            process.kill(-Number(pid), 'SIGKILL');
        } catch {
            try {
                process.kill(Number(pid), 'SIGKILL');
            } catch {} // ended meanwhile
        }
    }
    for (const folder of folders) rmSync(folder, { recursive: true, force: true });
}

// The scratch folders of runs whose process has ended.
function leftFolders() {
    const alive = (pid) => {
        try {
            return process.kill(pid, 0);
        } catch (error) {
            return error.code === 'EPERM';
        }
    };
    return readdirSync(tmpdir()).filter((name) => name.startsWith(Scratch) &&
        !alive(Number(name.slice(Scratch.length).split('-')[0])))
        .map((name) => join(tmpdir(), name));
}

async function run() {
    const mutant = process.env.__STRYKER_ACTIVE_MUTANT__ ?? '';
    endBrowsersIn(leftFolders());
    const own = mkdtempSync(join(tmpdir(), `${Scratch}${process.pid}-`));
    const env = { ...process.env, ...JSON.parse(readFileSync(join(out, 'environment.json'))),
                  PRIMTEILER_INSTRUMENTED: '1', TMPDIR: own };
    for (const [variable, name] of Object.entries(pages)) {
        env[variable] = join(out, `${name}-${mutant || 'none'}.html`);
        writeFileSync(env[variable],
                      readFileSync(join(out, `${name}.html`), 'utf8').replace(Slot, mutant));
    }
    try {
        const worker = spawnSync(process.execPath, ['--test', 'tests/web/worker_test.mjs'],
                                 { env, stdio: 'inherit' });
        process.exitCode = worker.status === 0 && await pageSuite(env) ? 0 : 1;
    } finally {
        for (const variable of Object.keys(pages)) rmSync(env[variable], { force: true });
        endBrowsersIn([own]);
    }
}

// The run's summary from Stryker's JSON report `file`: the count of each status, the score (the
// killed and timed out among all but the ignored and those that did not compile) and one line
// for each mutant that no test detected.
function report(file) {
    const { files } = JSON.parse(readFileSync(file, 'utf8'));
    const count = {};
    const undetected = [];
    for (const [name, { source, mutants }] of Object.entries(files)) {
        const lines = source.split('\n');
        for (const { status, mutatorName, replacement, location: { start, end } } of mutants) {
            count[status] = (count[status] ?? 0) + 1;
            if (status !== 'Survived' && status !== 'NoCoverage') continue;
            const original = start.line === end.line
                ? lines[start.line - 1].slice(start.column - 1, end.column - 1)
                : `${lines[start.line - 1].slice(start.column - 1)} \u2026`;
            undetected.push(`${name}:${start.line}:${start.column} ${status} ${mutatorName}: ` +
                            `${original.trim()} -> ${String(replacement).replace(/\s+/g, ' ')}`);
        }
    }
    const detected = (count.Killed ?? 0) + (count.Timeout ?? 0);
    const valid = detected + (count.Survived ?? 0) + (count.NoCoverage ?? 0);
    console.log(`mutants: ${Object.entries(count).map(([s, n]) => `${n} ${s}`).join(', ')}`);
    console.log(`score: ${detected} of ${valid} detected, ${(100 * detected / valid).toFixed(1)} %`);
    for (const line of undetected) console.log(`  ${line}`);
}

const command = process.argv[2];
if (command === 'build') build();
else if (command === 'run') await run();
else if (command === 'report') report(process.argv[3]);
else throw new Error('usage: node tests/web/mutation.mjs build|run|report <Stryker JSON report>');
