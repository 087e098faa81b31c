// The page's window as one engine draws it, after the worked example: cropped to the window, or
// at one of the road's viewports (tests/e2e/web/browser.mjs) the whole of it, as a phone's user
// sees it. How docs/screenshot-web*.png and docs/screenshot-phone.png are made. WebKit needs a
// display (xvfb-run).
//
//   node scripts/web-screenshot.mjs <site folder> <chromium|firefox|webkit> <out.png> [<viewport>]

import {execFileSync} from 'node:child_process';
import {writeFileSync} from 'node:fs';

import {VIEWPORTS, engine} from '../tests/e2e/web/browser.mjs';

const [site, engineName, out, viewportName] = process.argv.slice(2);
const browser = await engine(engineName);
const {server, origin} = await browser.serve(site);
const tab = await browser.tab('en-US', VIEWPORTS[viewportName] ?? {width: 800, height: 500});
await tab.goto(origin + '/');
const box = await tab.evaluate(() => new Promise((done) => {
    const wait = () => {
        if (performance.getEntriesByName('melkora-ready').length === 0) {
            setTimeout(wait, 10);
            return;
        }
        for (const [name, value] of Object.entries({a: '1', b: '2', c: '3', d: '4', e: '5',
                                                    f: '6'})) {
            document.getElementById(name).value = value;
        }
        document.getElementById('f').focus();
        const {left, top, width, height} = document.getElementById('window')
            .getBoundingClientRect();
        done({left, top, width, height});
    };
    wait();
}));
await tab.down('Enter');
await tab.up('Enter');
await new Promise((done) => setTimeout(done, 200));
writeFileSync(out, await tab.screenshot());
if (!viewportName) {
    execFileSync('convert', [out, '-crop', `${Math.round(box.width)}x${Math.round(box.height)}+` +
                             `${Math.round(box.left)}+${Math.round(box.top)}`, '+repage', out]);
}
await tab.close();
await browser.close();
server.close();
