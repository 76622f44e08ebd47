// The results page: the day's results from the program, asked for again
// every few seconds (the program answers only whether they changed, where
// they did not). Every text is set as text, never as markup.
'use strict';
(function () {
  const element = (tag, className, text) => {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (text) e.textContent = text;
    return e;
  };
  const side = (className, who, state) => {
    const cell = element('td', className);
    if (!who.name) {
      if (state === 'bye') cell.appendChild(element('span', 'bye', 'bye'));
      return cell;
    }
    cell.appendChild(document.createTextNode(who.name));
    if (who.club) cell.appendChild(element('span', 'club', who.club));
    return cell;
  };

  function show(results) {
    const categories = document.getElementById('categories');
    const all = [];
    for (const category of results.categories) {
      const section = element('section');
      section.appendChild(element('h2', '', category.name));
      const table = element('table');
      const head = element('tr');
      for (const [className, caption] of [['bout', 'Bout'], ['aka', 'Aka'], ['ao', 'Ao'], ['result', 'Result']])
        head.appendChild(element('th', className, caption));
      table.appendChild(head);
      for (const bout of category.bouts) {
        const row = element('tr', bout.current ? 'current' : '');
        const number = element('td', 'bout', String(bout.bout));
        if (bout.round) number.appendChild(element('span', 'round', bout.round));
        row.appendChild(number);
        row.appendChild(side('aka', bout.aka, bout.state));
        row.appendChild(side('ao', bout.ao, bout.state));
        const result = element('td', 'result', bout.result);
        // A bout performed before an earlier result was corrected says so, also while current.
        const said = bout.check && bout.current ? bout.state + ', check' : bout.state;
        const state = element('span', 'state' + (bout.check ? ' check' : ''), bout.time ? said + ' ' + bout.time : said);
        result.appendChild(state);
        row.appendChild(result);
        table.appendChild(row);
      }
      section.appendChild(table);
      if (category.placings.length) {
        section.appendChild(element('h3', '', 'Placings'));
        const list = element('ol', 'placings');
        for (const placing of category.placings) {
          const item = element('li', '', placing.name);
          item.value = placing.place;
          if (placing.club) item.appendChild(element('span', 'club', placing.club));
          list.appendChild(item);
        }
        section.appendChild(list);
      }
      all.push(section);
    }
    categories.replaceChildren(...all);
    document.getElementById('none').hidden = results.categories.length > 0;
  }

  let shown = '';
  async function ask() {
    try {
      // The browser asks with the answer's tag; an unchanged answer comes from its cache.
      const answer = await fetch('/results.json', {cache: 'no-cache'});
      if (!answer.ok) throw new Error(String(answer.status));
      const text = await answer.text();
      document.getElementById('offline').hidden = true;
      if (text !== shown) {
        shown = text;
        show(JSON.parse(text));
      }
    } catch (e) {
      document.getElementById('offline').hidden = false;
    }
    setTimeout(ask, 3000);
  }
  ask();
})();
