// The page's benchmarks in one browser engine, each visit a first one (a new browser context: no
// cache, no service worker), taking turns with the floor: a bare static page with the same nine
// inputs and button and no script (bench/floor_page.html). Fails when a target is missed.
//
//   node bench/web.mjs <site folder> <floor folder> <chromium|firefox|webkit> [visits]
//
// - first contentful paint, against the floor's: at most 1.2 times;
// - from navigation to "Calculate works" (the module attached to the window), against the floor's
//   load event: at most 2 times;
// - Enter to the results in the fields, in the page: median at most 2 ms;
// - what a first visit transfers, every file gzip-compressed: at most 100 kB in all.
//
// For reference, with no target: the same visits to the page without its script, the window as
// the build wrote it and nothing else, which parts what the window costs the browser from what
// the module costs.

import {cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {gzipSync} from 'node:zlib';

import {engine, served} from '../tests/e2e/web/browser.mjs';

const [site, floor, engineName, visits = '21'] = process.argv.slice(2);
const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.floor(sorted.length / 2)];
};
const browser = await engine(engineName);
const {server, origin} = await served(site);
const {server: floorServer, origin: floorOrigin} = await served(floor);
const scriptless = mkdtempSync(join(tmpdir(), 'melkora-scriptless-'));
cpSync(site, scriptless, {recursive: true});
const markup = readFileSync(join(site, 'index.html'), 'utf8');
writeFileSync(join(scriptless, 'index.html'), markup.replace(/<script [^>]*><\/script>\n?/g, ''));
const {server: scriptlessServer, origin: scriptlessOrigin} = await served(scriptless);

async function visit(address, measure) {
    const tab = await browser.tab('en-US');
    await tab.goto(address);
    const figure = await tab.evaluate(measure);
    await tab.close();
    return figure;
}

const paint = () => new Promise((done) => {
    const seen = () => performance.getEntriesByName('first-contentful-paint')[0];
    const wait = () => (seen() ? done(seen().startTime) : requestAnimationFrame(wait));
    wait();
});
const ready = () => new Promise((done) => {
    const wait = () => {
        const mark = performance.getEntriesByName('melkora-ready')[0];
        mark ? done(mark.startTime) : setTimeout(wait, 1);
    };
    wait();
});
const loaded = () => performance.getEntriesByType('navigation')[0].loadEventEnd;

const figures = {paint: [], floorPaint: [], ready: [], floorLoad: [], scriptlessPaint: [],
                 scriptlessLoad: []};
for (let i = 0; i < Number(visits); ++i) {
    figures.paint.push(await visit(origin + '/', paint));
    figures.floorPaint.push(await visit(floorOrigin + '/', paint));
    figures.ready.push(await visit(origin + '/', ready));
    figures.floorLoad.push(await visit(floorOrigin + '/', loaded));
    figures.scriptlessPaint.push(await visit(scriptlessOrigin + '/', paint));
    figures.scriptlessLoad.push(await visit(scriptlessOrigin + '/', loaded));
}

// Enter in f, timed from the key's arrival at the page to the handlers' end, when the fields
// hold the results; the frame that shows them follows at the display's next refresh.
const tab = await browser.tab('en-US');
await tab.goto(origin + '/');
await tab.evaluate(ready);
await tab.evaluate(() => {
    for (const [name, value] of Object.entries({a: '1', b: '2', c: '3', d: '4', e: '5', f: '6'})) {
        document.getElementById(name).value = value;
    }
    document.getElementById('f').focus();
    window.enterTimes = [];
    let start = 0;
    window.addEventListener('keydown', () => { start = performance.now(); }, true);
    window.addEventListener('keydown', () => {
        if (document.getElementById('z').value === '-3') {
            window.enterTimes.push(performance.now() - start);
        }
        document.getElementById('z').value = '';
    });
});
for (let i = 0; i < 100; ++i) {
    await tab.down('Enter');
    await tab.up('Enter');
}
const enter = await tab.evaluate(() => window.enterTimes);
await tab.close();
await browser.close();
server.close();
floorServer.close();
scriptlessServer.close();
rmSync(scriptless, {recursive: true});

let transfer = 0;
const files = [];
for (const name of readdirSync(site)) {
    const size = gzipSync(readFileSync(join(site, name)), {level: 9}).length;
    files.push(`${name} ${size}`);
    transfer += size;
}

let status = 0;
function report(what, figure, target, met) {
    console.log(`${what}: ${figure} (target ${target})${met ? '' : '  MISSED'}`);
    status = met ? status : 1;
}
const ms = (value) => `${value.toFixed(1)} ms`;
const paintRatio = median(figures.paint) / median(figures.floorPaint);
report('first contentful paint, median of ' + visits,
       `${ms(median(figures.paint))} against the floor's ${ms(median(figures.floorPaint))}, ` +
           `${paintRatio.toFixed(2)} times`, 'at most 1.2 times', paintRatio <= 1.2);
const readyRatio = median(figures.ready) / median(figures.floorLoad);
report('navigation to Calculate working, median of ' + visits,
       `${ms(median(figures.ready))} against the floor's load event at ` +
           `${ms(median(figures.floorLoad))}, ${readyRatio.toFixed(2)} times`,
       'at most 2 times', readyRatio <= 2);
report(`Enter to the results in the fields, median of ${enter.length}`,
       `${median(enter).toFixed(3)} ms (slowest ${Math.max(...enter).toFixed(3)} ms)`,
       'at most 2 ms', enter.length === 100 && median(enter) <= 2);
report('a first visit, gzip-compressed', `${transfer} bytes (${files.join(', ')})`,
       'at most 100 kB', transfer <= 100000);
const scriptlessPaint = median(figures.scriptlessPaint);
console.log(`for reference, the page without its script: first contentful paint ` +
            `${ms(scriptlessPaint)}, ${(scriptlessPaint / median(figures.floorPaint)).toFixed(2)} ` +
            `times the floor's; the page's is ${(median(figures.paint) / scriptlessPaint).toFixed(2)} ` +
            `times it; load event ${ms(median(figures.scriptlessLoad))}`);
process.exit(status);
